#include "core/NumberTemplate.h"

std::string FillTemplate(const std::string& text, char conversion, const std::vector<std::string>& values) {
  std::string filled;
  filled.reserve(text.size() + 20 * values.size());
  std::size_t placed = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '%' && next == '%') {
      filled += '%';
      ++i;
    } else if (text[i] == '%' && next == conversion && placed < values.size()) {
      filled += values[placed++];
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

std::string FillNumberTemplate(const std::string& text, std::int64_t number) {
  return FillTemplate(text, 'd', {std::to_string(number)});
}
