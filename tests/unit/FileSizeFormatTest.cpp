#include <gtest/gtest.h>

#include "query/FileSizeFormat.h"

TEST(FileSizeFormat, GroupsByThreeDigitsOrNot) {
  struct Case {
    std::uint64_t size;
    bool group;
    const char* text;
  };
  const Case cases[] = {
      {0, true, "0"},
      {0, false, "0"},
      {7, true, "7"},
      {999, true, "999"},
      {1000, true, "1 000"},
      {1000001, true, "1 000 001"},
      {999999, true, "999 999"},
      {1000000, true, "1 000 000"},
      {1048576, true, "1 048 576"},
      {1048576, false, "1048576"},
      {2147483648u, false, "2147483648"},
      {4294967295u, true, "4 294 967 295"},
      // Beyond 32 bits: files over 4 GiB keep their true size.
      {5000000000ull, true, "5 000 000 000"},
      {5000000000ull, false, "5000000000"},
      {18446744073709551615ull, true, "18 446 744 073 709 551 615"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFileSize(c.size, c.group), c.text) << c.size << " group=" << c.group;
}

TEST(FileSizeFormat, BinaryUnitsKeepThreeSignificantDigits) {
  struct Case {
    std::uint64_t size;
    const char* text;
  };
  const Case cases[] = {
      {0, "0 B"},
      {1023, "1023 B"},
      {1024, "1.00 KiB"},
      {1536, "1.50 KiB"},
      {10234, "9.99 KiB"},
      {10235, "10.0 KiB"},   // 9.995 KiB rounds up into the next digit
      {102400, "100 KiB"},
      {1048575, "1.00 MiB"},  // 1023.999 KiB is the next unit's 1.00, never "1024 KiB"
      {1048576, "1.00 MiB"},
      {5000000000ull, "4.66 GiB"},
      {1099511627776ull, "1.00 TiB"},
      {18446744073709551615ull, "16.0 EiB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBinaryUnits(c.size), c.text) << c.size;
}

// The pattern may come from a language file: only the first two "%s" are filled.
TEST(FileSizeFormat, BothUnitsFillOnlyTheirTwoPlaceholders) {
  struct Case {
    const char* pattern;
    std::uint64_t size;
    bool group;
    const char* text;
  };
  const Case cases[] = {
      {"%s (%s bytes)", 5000000000ull, true, "4.66 GiB (5 000 000 000 bytes)"},
      {"%s (%s bytes)", 5000000000ull, false, "4.66 GiB (5000000000 bytes)"},
      {kSizeInBothUnitsBuiltIn, 1048576, true, "1.00 MiB (1 048 576 байт)"},
      {"%s bytes = %s", 2048, true, "2.00 KiB bytes = 2 048"},
      {"%s %s %s %d %n%%", 1024, true, "1.00 KiB 1 024 %s %d %n%"},
      {"no placeholders", 1024, true, "no placeholders"},
      {"trailing %", 1024, true, "trailing %"},
      {"", 1024, true, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatSizeInBothUnits(c.pattern, c.size, c.group), c.text) << c.pattern;
}
