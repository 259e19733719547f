#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/AddressLines.h"

namespace {

struct Read {
  std::vector<std::string> addresses;
  std::vector<bool> overlong;
};

// Every line the reader gives for `input`, read back from a real file.
Read ReadAll(const std::string& input) {
  std::FILE* file = std::tmpfile();
  std::fwrite(input.data(), 1, input.size(), file);
  std::fflush(file);
  std::rewind(file);
  AddressLines lines(fileno(file));
  Read read;
  while (auto line = lines.Next()) {
    read.addresses.push_back(line->address);
    read.overlong.push_back(line->overlong);
  }
  EXPECT_EQ(lines.ReadError(), 0);
  std::fclose(file);
  return read;
}

const std::size_t kMax = AddressLines::kMaxLineBytes;

}  // namespace

TEST(AddressLines, SkipsBlankAndCommentLinesAndDropsTheCarriageReturn) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> addresses;
  };
  const Case cases[] = {
      {"nothing", "", {}},
      {"only blank and comment lines", "\n  \n\t\n# a comment\r\n#\n", {}},
      {"a last line without its end", "a\nb", {"a", "b"}},
      {"CR LF ends a line; a lone CR inside stays", "a\r\nb\rc\r\n", {"a", "b\rc"}},
      {"only a leading # makes a comment", " #a\n#b\n", {" #a"}},
      {"blanks around an address are the address's", " a \n", {" a "}},
      {"a NUL byte is part of the line", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"a blank last line without its end", "a\n \t", {"a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadAll(c.input).addresses, c.addresses) << c.name;
}

// A line over the bound is no address, and the lines after it are read as ever;
// what is kept of it never outgrows the bound.
TEST(AddressLines, ALineOverTheBoundIsMarkedAndTheRestGoesOn) {
  struct Case {
    const char* name;
    std::string line;
    bool overlong;
  };
  const Case cases[] = {
      {"exactly the bound", std::string(kMax, 'a') + "\n", false},
      {"exactly the bound, ended by CR LF", std::string(kMax, 'a') + "\r\n", false},
      {"one byte over", std::string(kMax + 1, 'a') + "\n", true},
      {"one byte and a CR over", std::string(kMax + 1, 'a') + "\r\n", true},
      {"far over, across many reads", std::string(10 * kMax, 'a') + "\n", true},
  };
  for (const Case& c : cases) {
    const Read read = ReadAll("first\n" + c.line + "next\n");
    ASSERT_EQ(read.addresses.size(), 3u) << c.name;
    EXPECT_EQ(read.addresses[0], "first") << c.name;
    EXPECT_EQ(read.addresses[1], std::string(kMax, 'a')) << c.name;
    EXPECT_EQ(read.overlong[1], c.overlong) << c.name;
    EXPECT_EQ(read.addresses[2], "next") << c.name;
    EXPECT_FALSE(read.overlong[2]) << c.name;
  }
}

TEST(AddressLines, InputsThatCannotBeReadAreToldApart) {
  errno = 0;
  EXPECT_EQ(AddressLines::Open("/"), -1);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_EQ(AddressLines::Open("/nonexistent/list"), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(AddressLines::Open("-"), 0);

  // Opens, but every read fails: what was read (nothing) counts and the error is kept.
  const int memory = AddressLines::Open("/proc/self/mem");
  ASSERT_GE(memory, 0);
  AddressLines lines(memory);
  EXPECT_FALSE(lines.Next());
  EXPECT_EQ(lines.ReadError(), EIO);
}
