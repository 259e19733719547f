#pragma once

#include <cstdint>
#include <string>

#include "query/SizeQueryReport.h"

// The last line of a list with --total: the sizes found added up, exactly (the sum of
// many 64-bit sizes can outgrow 64 bits), and how many addresses got none.
class ListTotal {
 public:
  void Add(const SizeQueryReport& report);

  // SUM<TAB>COUNT<TAB>total, like the last line of du -c.
  std::string TsvLine(bool human) const;
  // {"total":SUM,"without_size":COUNT,"addresses":N}; a sum beyond 64 bits is a
  // floating-point number there.
  std::string JsonLine() const;

  bool AllHaveSizes() const { return m_withoutSize == 0; }

 private:
  __extension__ typedef unsigned __int128 Bytes;

  std::string ExactSum() const;

  Bytes m_bytes = 0;
  std::uint64_t m_withoutSize = 0;
  std::uint64_t m_addresses = 0;
};
