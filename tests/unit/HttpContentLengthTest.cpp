#include <gtest/gtest.h>

#include "net/HttpFile.h"

// How one Content-Length value is read once curl has taken the answer (the values
// curl itself refuses never get here; see the network test's table).
TEST(HttpContentLength, OnlyDecimalDigitsAreALength) {
  struct Case {
    const char* value;
    std::optional<std::uint64_t> length;
  };
  const Case cases[] = {
      {"0", 0},
      {"1048576", 1048576},
      {"  42\t", 42},
      {"007", 7},
      {"5000000000", 5000000000ull},
      {"18446744073709551615", 18446744073709551615ull},  // 2^64 - 1
      {"18446744073709551616", std::nullopt},              // 2^64
      {"99999999999999999999999", std::nullopt},
      {"+5", std::nullopt},
      {"-1", std::nullopt},
      {"5 6", std::nullopt},
      {"12abc", std::nullopt},
      {"0x10", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(HttpFile::ParseContentLength(c.value), c.length) << '"' << c.value << '"';
}
