#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/LanguageFileReader.h"

namespace {

struct Case {
  const char* name;
  std::string bytes;
  LanguageTexts texts;
};

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

}  // namespace

TEST(LanguageFileReader, ReadsTheFormatLineByLine) {
  const Case cases[] = {
      {"two entries and a comment", "; comment 1=x\r\n1=One\r\n2=Two\r\n", {{1, "One"}, {2, "Two"}}},
      {"LF alone ends a line too", "1=One\n2=Two\n", {{1, "One"}, {2, "Two"}}},
      {"later '=' belongs to the text", "5=a=b\n", {{5, "a=b"}}},
      {"what follows the digits up to '=' is ignored", "12 =x\n13abc=y\n", {{12, "x"}, {13, "y"}}},
      {"blanks after '=' and at the end are kept", "7= x \n", {{7, " x "}}},
      {"leading zeros", "007=seven\n", {{7, "seven"}}},
      {"empty text", "8=\r\n", {{8, ""}}},
      {"two bytes at the end without line end are too short", "9=", {}},
      {"three bytes at the end make an entry", "9=z", {{9, "z"}}},
      {"\\n becomes CR LF", "3=a\\nb\n", {{3, "a\r\nb"}}},
      {"only \\n is an escape", "3=a\\tb\\\\nc\n", {{3, "a\\tb\\\r\nc"}}},
      {"lines not starting with a digit are ignored",
       " 1=space\n\t2=tab\na3=letter\n-4=minus\n\xEF\xBB\xBF" "5=bom\n",
       {}},
      {"a line without '=' is ignored", "6 six\n", {}},
      {"the same ID twice: the later wins", "4=first\n4=second\n", {{4, "second"}}},
      {"a lone CR is part of the text", "4=a\rb\n", {{4, "a\rb"}}},
      {"an embedded NUL ends the line's text", std::string("4=ab\0cd\n", 8), {{4, "ab"}}},
      {"empty file", "", {}},
      {"UTF-8 bytes are taken as they are", "1=Размер:\n", {{1, "Размер:"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageFileReader::Parse(c.bytes), c.texts) << c.name;
}

// A long line is read in 1023-byte pieces, each a line of its own.
TEST(LanguageFileReader, SplitsLongLinesIntoPiecesOf1023Bytes) {
  const std::string first = "1=" + Repeat('a', 1021);  // exactly one piece
  const std::string second = "2=" + Repeat('b', 475);
  const auto texts = LanguageFileReader::Parse(first + second + "\n");
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts.at(1), Repeat('a', 1021));
  EXPECT_EQ(texts.at(2), Repeat('b', 475));

  // A second piece that does not start with a digit yields nothing.
  const auto single = LanguageFileReader::Parse("1=" + Repeat('x', 1500) + "\n");
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single.at(1).size(), 1021u);

  // CR LF counts as one byte of the piece, as a text-mode read sees it.
  const auto crlf = LanguageFileReader::Parse("1=" + Repeat('c', 1020) + "\r\n3=next\r\n");
  EXPECT_EQ(crlf.at(1), Repeat('c', 1020));
  EXPECT_EQ(crlf.at(3), "next");
}

// An ID is a 32-bit number; a longer one must not wrap around onto a real ID.
TEST(LanguageFileReader, TakesNoLineWhoseIdDoesNotFit32Bits) {
  const Case cases[] = {
      {"the largest ID", "4294967295=max\n", {{4294967295u, "max"}}},
      {"one more is no ID", "4294967296=zero?\n", {}},
      {"2^32 + 1 would overwrite ID 1", "1=one\n4294967297=wrapped\n", {{1, "one"}}},
      {"ten digits above the largest", "9999999999=x\n", {}},
      {"eleven digits", "42949672950=x\n", {}},
      {"2^64 + 1 would wrap a 64-bit count as well", "18446744073709551617=x\n5=five\n", {{5, "five"}}},
      {"leading zeros do not count", "00000000000000000004294967295=max\n", {{4294967295u, "max"}}},
      {"zeros then too large", "0000000000004294967296=x\n", {}},
      {"too large, even with no '=' right after the digits", "4294967296 =x\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageFileReader::Parse(c.bytes), c.texts) << c.name;
}

// A run of digits longer than a piece is cut like any other line; each piece has its own ID.
TEST(LanguageFileReader, LongDigitRunsAreCutIntoPiecesFirst) {
  // First piece: 1023 digits and no '=', ignored. Second: zeros, then 7.
  EXPECT_EQ(LanguageFileReader::Parse(Repeat('9', 1023) + Repeat('0', 600) + "7=seven\n"),
            (LanguageTexts{{7, "seven"}}));
  // First piece: the digits end in '=' at byte 1023, too large an ID. Second: "8=eight".
  EXPECT_EQ(LanguageFileReader::Parse(Repeat('1', 1022) + "=" + "8=eight\n"), (LanguageTexts{{8, "eight"}}));
  // 1022 zeros and a 3: a fitting ID whose '=' is the piece's last byte, so the text is empty.
  EXPECT_EQ(LanguageFileReader::Parse(Repeat('0', 1021) + "3=" + "tail\n"), (LanguageTexts{{3, ""}}));
}

// A real read error in the middle of a file: reading our own memory through
// /proc/self/mem up to a page that is not mapped gives the bytes before it, then EIO.
TEST(LanguageFileReader, AReadErrorEndsTheFileAndKeepsWhatCameBefore) {
  const long page = sysconf(_SC_PAGESIZE);
  auto* pages = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(munmap(pages + page, page), 0);
  const std::string content = "1=One\r\n2=Tw";
  char* start = pages + page - content.size();
  std::memcpy(start, content.data(), content.size());

  const int fd = open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    munmap(pages, page);
    GTEST_SKIP() << "/proc/self/mem cannot be opened here: " << std::strerror(errno);
  }
  ASSERT_EQ(lseek(fd, reinterpret_cast<off_t>(start), SEEK_SET), reinterpret_cast<off_t>(start));
  std::string bytes = "stale";
  const LanguageFileRead read = SmallFile::ReadOpen(fd, LanguageFileReader::kMaxFileBytes, bytes);
  close(fd);
  munmap(pages, page);

  EXPECT_EQ(read.status, LanguageFileStatus::ReadError);
  EXPECT_EQ(read.error, EIO);
  EXPECT_TRUE(read.Opened());
  EXPECT_EQ(bytes, content);
  EXPECT_EQ(LanguageFileReader::Parse(bytes), (LanguageTexts{{1, "One"}, {2, "Tw"}})) << "as if the file ended there";
}
