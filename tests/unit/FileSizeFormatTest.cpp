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
