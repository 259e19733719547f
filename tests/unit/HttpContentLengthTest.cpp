#include <gtest/gtest.h>

#include "net/FtpConnection.h"
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

TEST(HttpContentRange, OnlyAWholeByteRangeGivesItsTotal) {
  const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
      {"bytes 0-0/5000000000", 5000000000u},
      {"bytes 0-0/18446744073709551615", 18446744073709551615u},
      {"BYTES 0-0/7\r\n", 7u},
      {"bytes 0-99/100", 100u},
      {"bytes 0-0/*", std::nullopt},
      {"bytes */100", std::nullopt},
      {"bytes 0-0/18446744073709551616", std::nullopt},
      {"bytes 0-0/-5", std::nullopt},
      {"bytes 0-0/12abc", std::nullopt},
      {"bytes 0-0/+5", std::nullopt},
      {"bytes 0-0/", std::nullopt},
      {"bytes 5-0/100", std::nullopt},
      {"bytes 0-100/100", std::nullopt},
      {"items 0-0/5", std::nullopt},
      {"bytes0-0/5", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [value, total] : cases) EXPECT_EQ(HttpFile::ParseContentRangeTotal(value), total) << value;
}

TEST(FtpSizeReply, OnlyA213WithANumberGivesASize) {
  const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
      {"213 4242\r\n", 4242u},
      {"213 18446744073709551615\r\n", 18446744073709551615u},
      {"213 0", 0u},
      {"213 18446744073709551616\r\n", std::nullopt},
      {"213 12abc\r\n", std::nullopt},
      {"213 -1\r\n", std::nullopt},
      {"213 \r\n", std::nullopt},
      {"550 No such file\r\n", std::nullopt},
      {"2134\r\n", std::nullopt},
  };
  for (const auto& [reply, size] : cases) EXPECT_EQ(FtpConnection::ParseSizeReply(reply), size) << reply;
}
