#include <gtest/gtest.h>

#include "cli/CliOptions.h"

TEST(CliOptions, ParallelTakesOneTo256) {
  struct Case {
    std::string value;
    std::optional<unsigned> parallel;  // nothing: a wrong command line
  };
  const Case cases[] = {{"1", 1u}, {"256", 256u}, {"16", 16u}, {"0", {}}, {"257", {}}, {"999", {}},
                        {"x", {}}, {"", {}},      {"-1", {}},  {"+4", {}}, {"4 ", {}}, {"99999999999", {}}};
  for (const Case& c : cases) {
    const auto options = CliOptions::Parse({"--parallel", c.value, "http://a/"});
    ASSERT_EQ(options.has_value(), c.parallel.has_value()) << "'" << c.value << "'";
    if (options) EXPECT_EQ(options->parallel, *c.parallel);
  }
  EXPECT_EQ(CliOptions::Parse({"http://a/"})->parallel, CliOptions::kDefaultParallel);
}

TEST(CliOptions, OneAddressAloneIsNoList) {
  struct Case {
    std::vector<std::string> arguments;
    bool valid;
    bool list;
  };
  const Case cases[] = {
      {{"http://a/"}, true, false},
      {{"--json", "http://a/"}, true, false},
      {{"http://a/", "http://b/"}, true, true},
      {{"--input", "-"}, true, true},
      {{"--input", "list", "http://a/"}, true, true},
      {{"--total", "http://a/"}, true, true},
      {{"--", "--input"}, true, false},
      {{}, false, false},
      {{"--input"}, false, false},
      {{"--input", "a", "--input", "b"}, false, false},
      {{"--parallel"}, false, false},
      {{"--json"}, false, false},
  };
  for (const Case& c : cases) {
    const auto options = CliOptions::Parse(c.arguments);
    ASSERT_EQ(options.has_value(), c.valid) << ::testing::PrintToString(c.arguments);
    if (options) EXPECT_EQ(options->IsList(), c.list) << ::testing::PrintToString(c.arguments);
  }
  EXPECT_TRUE(CliOptions::AsksQuiet({"--bogus", "--quiet"}));
  EXPECT_FALSE(CliOptions::AsksQuiet({"--", "--quiet"}));
}
