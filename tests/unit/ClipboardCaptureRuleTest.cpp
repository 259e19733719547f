#include <gtest/gtest.h>

#include <string>

#include "query/ClipboardCaptureRule.h"

namespace {

using Verdict = ClipboardCapture::Verdict;

struct Case {
  const char* name;
  std::string clipboard;
  std::string urlBox;
  Verdict verdict;
  std::string address;
};

}  // namespace

TEST(ClipboardCaptureRule, DecidesWhatACopiedTextDoes) {
  const std::string megabyte = "http://example.com/" + std::string(1 << 20, 'a');
  const Case cases[] = {
      {"an http address", "http://example.com/f", "", Verdict::Take, "http://example.com/f"},
      {"an ftp address", "ftp://example.com/f", "", Verdict::Take, "ftp://example.com/f"},
      {"www. gets http://", "www.example.com/f", "", Verdict::Take, "http://www.example.com/f"},
      {"WWW. gets nothing and is no address", "WWW.example.com/f", "", Verdict::Reject, "WWW.example.com/f"},
      {"https is not asked", "https://example.com/f", "", Verdict::Reject, "https://example.com/f"},
      {"another scheme", "mailto:someone@example.com", "", Verdict::Reject, "mailto:someone@example.com"},
      {"plain text", "just some words", "", Verdict::Reject, "just some words"},
      {"empty text", "", "http://example.com/f", Verdict::Reject, ""},
      {"no trimming", " http://example.com/f", "", Verdict::Reject, " http://example.com/f"},
      {"a line break stays and spoils it", "http://example.com/f\n", "", Verdict::Reject, "http://example.com/f\n"},
      {"the URL box's own text", "http://example.com/f", "http://example.com/f", Verdict::SameAsUrlBox,
       "http://example.com/f"},
      {"the same after the prefix", "www.example.com/f", "http://www.example.com/f", Verdict::SameAsUrlBox,
       "http://www.example.com/f"},
      {"compared byte for byte", "http://example.com/F", "http://example.com/f", Verdict::Take, "http://example.com/F"},
      {"empty text, empty box", "", "", Verdict::SameAsUrlBox, ""},
      {"a megabyte of address", megabyte, "", Verdict::Take, megabyte},
  };
  for (const Case& c : cases) {
    const ClipboardCapture capture = CaptureFromClipboard(c.clipboard, c.urlBox);
    EXPECT_EQ(capture.verdict, c.verdict) << c.name;
    EXPECT_EQ(capture.address, c.address) << c.name;
  }
}

TEST(ClipboardCaptureRule, HttpsIsTakenOnlyWhenTheUserAsksIt) {
  EXPECT_EQ(CaptureFromClipboard("https://example.com/f", "", true).verdict, Verdict::Take);
  EXPECT_EQ(CaptureFromClipboard("https://example.com/f", "", false).verdict, Verdict::Reject);
  EXPECT_EQ(CaptureFromClipboard("gopher://example.com/f", "", true).verdict, Verdict::Reject);
}
