#include "query/FileSizeFormat.h"

#include <cstdio>

std::string FormatFileSize(std::uint64_t size, bool groupDigits) {
  if (!groupDigits) return std::to_string(size);
  std::string text;
  while (size > 999) {
    char group[8];
    std::snprintf(group, sizeof group, " %03u", static_cast<unsigned>(size % 1000));
    text.insert(0, group);
    size /= 1000;
  }
  return std::to_string(size) + text;
}
