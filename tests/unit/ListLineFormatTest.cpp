#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>

#include "cli/ListLineFormat.h"
#include "cli/ListTotal.h"

namespace {

SizeQueryReport Sized(std::uint64_t size) {
  SizeQueryReport report;
  report.outcome = SizeQueryOutcome::SizeShown;
  report.verdict = SizeQueryMessages::kAnswerReceived;
  report.verdictText = "Answer received.";
  report.size = size;
  return report;
}

SizeQueryReport Unsized(const std::string& verdictText) {
  SizeQueryReport report;
  report.outcome = SizeQueryOutcome::NoSize;
  report.verdict = SizeQueryMessages::kNotFound;
  report.verdictText = verdictText;
  return report;
}

}  // namespace

TEST(ListLineFormat, TsvLinesKeepTheirThreeColumns) {
  SizeQueryReport notAsked;
  notAsked.outcome = SizeQueryOutcome::OtherService;
  struct Case {
    const char* name;
    std::string address;
    SizeQueryReport report;
    bool human;
    std::string line;
  };
  const Case cases[] = {
      {"a size, never grouped", "http://a/f", Sized(5000000000), false, "5000000000\tAnswer received.\thttp://a/f"},
      {"binary units", "http://a/f", Sized(5000000000), true, "4.66 GiB\tAnswer received.\thttp://a/f"},
      {"no size", "http://a/g", Unsized("File not found!"), false, "\tFile not found!\thttp://a/g"},
      {"not asked: no verdict", "gopher://a/", notAsked, false, "\t\tgopher://a/"},
      {"a verdict's line breaks and tabs are blanks", "x", Unsized("Two\r\nlines\tand\ra tab"), false,
       "\tTwo lines and a tab\tx"},
      {"the address keeps its tabs, but not its line breaks", "a\tb\nc\r\nd", Unsized("v"), false,
       "\tv\ta\tb c d"},
  };
  for (const Case& c : cases) EXPECT_EQ(TsvLine(c.address, c.report, c.human), c.line) << c.name;
}

// Whatever bytes an address or a header holds, a JSON parser reads the line back.
TEST(ListLineFormat, JsonLinesParseBackWhateverTheyHold) {
  SizeQueryReport full = Sized(std::numeric_limits<std::uint64_t>::max());
  full.facts.finalAddress = "http://b/\"moved\"";
  full.facts.replyCode = 200;
  static const char kType[] = "text/\x01pl\xc3\xa4in\xff";
  full.facts.contentType = std::string(kType, sizeof kType - 1);
  full.facts.lastModified = 1714564800;
  full.facts.acceptsRanges = true;
  static const char kAddress[] = "http://a/\"q\"\\back\x01\x1f\x7f\xff\xfe\xc3";
  const std::string address(kAddress, sizeof kAddress - 1);

  const auto line = nlohmann::json::parse(JsonLine(address, full));
  EXPECT_EQ(line["address"], "http://a/\"q\"\\back\x01\x1f\x7f\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd");
  EXPECT_EQ(line["final_address"], "http://b/\"moved\"");
  EXPECT_EQ(line["size"].get<std::uint64_t>(), std::numeric_limits<std::uint64_t>::max());
  EXPECT_EQ(line["verdict"], "Answer received.");
  EXPECT_EQ(line["verdict_id"], 1012);
  EXPECT_EQ(line["outcome"], "size");
  EXPECT_EQ(line["status"], 200);
  EXPECT_EQ(line["content_type"], "text/\x01pl\xc3\xa4in\xef\xbf\xbd");
  EXPECT_EQ(line["last_modified"], "2024-05-01T12:00:00Z");
  EXPECT_EQ(line["accepts_ranges"], true);

  SizeQueryReport notAsked;
  notAsked.outcome = SizeQueryOutcome::OtherService;
  const auto bare = nlohmann::json::parse(JsonLine("gopher://a/", notAsked));
  for (const char* key : {"final_address", "size", "verdict", "verdict_id", "status", "content_type",
                          "last_modified", "accepts_ranges"})
    EXPECT_TRUE(bare[key].is_null()) << key;
  EXPECT_EQ(bare["outcome"], "not-asked");
}

TEST(ListLineFormat, TimesAreUtc) {
  EXPECT_EQ(IsoUtcTime(0), "1970-01-01T00:00:00Z");
  EXPECT_EQ(IsoUtcTime(951782400), "2000-02-29T00:00:00Z");
  EXPECT_EQ(IsoUtcTime(253402300799), "9999-12-31T23:59:59Z");
}

TEST(ListTotal, AddsUpExactlyBeyondSixtyFourBits) {
  ListTotal total;
  EXPECT_EQ(total.TsvLine(false), "0\t0\ttotal");
  EXPECT_TRUE(total.AllHaveSizes());
  const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
  total.Add(Sized(max));
  total.Add(Sized(max));
  total.Add(Sized(2));
  total.Add(Unsized("x"));
  EXPECT_FALSE(total.AllHaveSizes());
  EXPECT_EQ(total.TsvLine(false), "36893488147419103232\t1\ttotal");  // 2^65
  EXPECT_EQ(total.TsvLine(true), "16.0 EiB\t1\ttotal");
  const auto json = nlohmann::json::parse(total.JsonLine());
  EXPECT_DOUBLE_EQ(json["total"].get<double>(), 36893488147419103232.0);
  EXPECT_EQ(json["without_size"], 1);
  EXPECT_EQ(json["addresses"], 4);

  ListTotal small;
  small.Add(Sized(5000000000));
  EXPECT_EQ(nlohmann::json::parse(small.JsonLine())["total"].get<std::uint64_t>(), 5000000000u);
}
