#include <gtest/gtest.h>

#include "localisation/LanguageFileReader.h"

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
