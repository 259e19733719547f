#include "query/FileSizeFormat.h"

#include "core/NumberTemplate.h"

#include <array>
#include <cmath>
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

std::string FormatBinaryUnits(std::uint64_t size) {
  static constexpr std::array<const char*, 7> kUnits = {"B", "KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  if (size < 1024) return std::to_string(size) + " B";
  std::size_t unit = 0;
  double amount = static_cast<double>(size);
  while (amount >= 1024 && unit + 1 < kUnits.size()) {
    amount /= 1024;
    ++unit;
  }
  // Three significant digits after rounding: 9.996 is "10.0", not "10.00".
  int decimals = 2;
  while (decimals > 0 && std::round(amount * std::pow(10, decimals)) >= 1000) --decimals;
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, amount);
  // 1023.7 KiB rounds to "1024": that is the next unit's "1.00".
  if (std::string(text) == "1024" && unit + 1 < kUnits.size()) {
    std::snprintf(text, sizeof text, "1.00");
    ++unit;
  }
  return std::string(text) + " " + kUnits[unit];
}

std::string FormatSizeInBothUnits(const std::string& pattern, std::uint64_t size, bool groupDigits) {
  return FillTemplate(pattern, 's', {FormatBinaryUnits(size), FormatFileSize(size, groupDigits)});
}
