#include "cli/ListTotal.h"

#include <limits>
#include <nlohmann/json.hpp>

#include "query/FileSizeFormat.h"

void ListTotal::Add(const SizeQueryReport& report) {
  ++m_addresses;
  if (report.size)
    m_bytes += *report.size;
  else
    ++m_withoutSize;
}

std::string ListTotal::ExactSum() const {
  std::string digits;
  Bytes rest = m_bytes;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(rest % 10)));
    rest /= 10;
  } while (rest != 0);
  return digits;
}

std::string ListTotal::TsvLine(bool human) const {
  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  // Binary units are a rounded figure anyway; beyond 16 EiB they say at least that.
  const std::string sum =
      human ? FormatBinaryUnits(m_bytes > kMax ? kMax : static_cast<std::uint64_t>(m_bytes)) : ExactSum();
  return sum + '\t' + std::to_string(m_withoutSize) + "\ttotal";
}

std::string ListTotal::JsonLine() const {
  nlohmann::ordered_json line;
  if (m_bytes <= std::numeric_limits<std::uint64_t>::max())
    line["total"] = static_cast<std::uint64_t>(m_bytes);
  else
    line["total"] = static_cast<double>(m_bytes);
  line["without_size"] = m_withoutSize;
  line["addresses"] = m_addresses;
  return line.dump();
}
