#include "localisation/NumberTemplate.h"

std::string FillNumberTemplate(const std::string& text, std::int64_t number) {
  std::string filled;
  filled.reserve(text.size() + 20);
  bool numberPlaced = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next == '%') {
      filled += '%';
      ++i;
    } else if (text[i] == '%' && next == 'd' && !numberPlaced) {
      filled += std::to_string(number);
      numberPlaced = true;
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}
