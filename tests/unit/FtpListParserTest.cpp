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

// Owners and groups may be named like months; the date is a month, a day and a
// time or a year after the size, wherever those names stand.
TEST(FtpListParser, OwnersAndGroupsNamedLikeMonths) {
  struct Case {
    const char* line;
    const char* name;
    std::uint64_t size;
  };
  const Case cases[] = {
      // pyftpdlib names the owner and gives the numeric group
      {"-rw-r--r-- 1 jan 54321 4096 Dec 10 06:59 report.pdf", "report.pdf", 4096},
      {"-rw-r--r-- 1 owner dec 4096 Dec 10 06:59 group-dec", "group-dec", 4096},
      {"-rw-r--r-- 1 jan feb 77 Mar  3  2021 both", "both", 77},
      {"-rw-r--r-- 1 MAY Jun 12 Jul 4 12:00 upper case", "upper case", 12},
      // no group column
      {"-rw-r--r-- 1 jan 4096 Dec 10 06:59 no-group", "no-group", 4096},
      {"-rw-r--r-- 1 aug 9 Dec 10 2019 no-group-year", "no-group-year", 9},
      // a numeric group that looks like a day, and a size that looks like a year
      {"-rw-r--r-- 1 jan 10 2020 Dec 10 06:59 x", "x", 2020},
      {"-rw-r--r-- 1 jan 10 2020 Dec 10 2001 y", "y", 2020},
      // a year instead of a time, and times with one digit or with seconds
      {"-rw-r--r-- 1 oct nov 5000000000 Jan  1  1999 old.iso", "old.iso", 5000000000ull},
      {"-rw-r--r-- 1 jan 1 33 Feb 2 6:05 one-digit-hour", "one-digit-hour", 33},
      {"-rw-r--r-- 1 sep 1 34 Feb 2 06:05:59 seconds", "seconds", 34},
      // names with digits, and a file name that itself looks like a date
      {"-rw-r--r-- 1 jan2 feb3 55 Apr 30 23:59 digits", "digits", 55},
      {"-rw-r--r-- 1 u g 5 Jan 1 2020 Dec 10 06:59 x", "Dec 10 06:59 x", 5},
      {"-rw-r--r-- 1 jan 10 Dec 10 06:59 Jan 1 2020", "Jan 1 2020", 10},
      // no link count, and a directory owned by "mar"
      {"-rw-r--r-- jan feb 123 Dec 10 06:59 no-links", "no-links", 123},
      {"drwxr-xr-x 2 mar apr 4096 May  5 01:02 dir", "dir", 4096},
  };
  for (const auto& c : cases) {
    const auto entry = FtpListParser::ParseLine(c.line);
    ASSERT_TRUE(entry.has_value()) << c.line;
    EXPECT_EQ(entry->name, c.name) << c.line;
    EXPECT_EQ(entry->size, c.size) << c.line;
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
      "-rw-r--r-- 1 jan 54321 Dec 32 06:59 day-out-of-range",
      "-rw-r--r-- 1 jan 54321 Dec 10 6 no-time",
      "-rw-r--r-- 1 jan 54321 Dec 10 123:00 hour-too-long",
      "-rw-r--r-- 1 jan 54321 4096 Dec 10 06:59",  // no name
  };
  for (const char* line : lines) EXPECT_FALSE(FtpListParser::ParseLine(line).has_value()) << line;
}
