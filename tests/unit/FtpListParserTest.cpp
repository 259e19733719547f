#include <gtest/gtest.h>

#include "net/FtpListParser.h"

TEST(FtpListParser, ReadsTheListingFormatsServersUse) {
  struct Case {
    const char* line;
    const char* name;
    std::uint64_t size;
    bool isDirectory;
  };
  const Case cases[] = {
      {"-rw-r--r--   1 root     root     5000000000 Dec 10 00:00 big.iso", "big.iso", 5000000000ull, false},
      {"-rw-r--r--   1 ftp ftp        1234 Jan  1  2020 my file.txt\r\n", "my file.txt", 1234, false},
      {"drwxr-xr-x   2 user group     4096 Mar 15 12:34 sub", "sub", 4096, true},
      {"-rw-r--r-- 1 owner 77 Feb 29 2024 no-group.bin", "no-group.bin", 77, false},
      {"lrwxrwxrwx 1 u g 11 Apr  2 10:00 link -> target", "link -> target", 11, false},
      {"-rw-r--r--   1 may      staff      42 May  5 01:02 owner-named-may", "owner-named-may", 42, false},
      {"01-16-02  11:14AM       <DIR>          epsgroup", "epsgroup", 0, true},
      {"01-16-2002  11:14PM                 1234 file name.txt", "file name.txt", 1234, false},
      {"12-31-99  23:59                 5000000000 huge", "huge", 5000000000ull, false},
      {"+i8388621.44468,m839956783,r,s10376,\tRFCEPLF", "RFCEPLF", 10376, false},
      {"+i8388621.29609,m824255902,/,\tdev", "dev", 0, true},
  };
  for (const auto& c : cases) {
    const auto entry = FtpListParser::ParseLine(c.line);
    ASSERT_TRUE(entry.has_value()) << c.line;
    EXPECT_EQ(entry->name, c.name) << c.line;
    EXPECT_EQ(entry->size, c.size) << c.line;
    EXPECT_EQ(entry->isDirectory, c.isDirectory) << c.line;
  }
}

TEST(FtpListParser, LinesThatAreNoEntryGiveNothing) {
  const char* lines[] = {
      "total 12",
      "",
      "\r\n",
      " ",
      "\t\r",
      "garbage",
      "-rw-r--r-- 1 u g notanumber Jan 1 2020 x",
      "-rw-r--r-- 1 u g 12 Jan 1 2020",           // no name
      "-rw-r--r-- 1 u g 99999999999999999999999 Jan 1 2020 overflow",
      "01-16-02  11:14AM       <DIR>",             // no name
      "01-16-02  11:14AM       12x name",
      "+i1,s12",                                   // EPLF without a name
      "+s1x,\tname",
  };
  for (const char* line : lines) EXPECT_FALSE(FtpListParser::ParseLine(line).has_value()) << line;
}
