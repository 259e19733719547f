#include <gtest/gtest.h>

#include "core/NumberTemplate.h"

// Language files supply these templates, so hostile ones must stay harmless.
TEST(NumberTemplate, FillsOnlyTheFirstNumberAndNeverReadsMore) {
  struct Case {
    const char* text;
    std::int64_t number;
    const char* filled;
  };
  const Case cases[] = {
      {"Неизвестная ошибка! Код: %d.", 200, "Неизвестная ошибка! Код: 200."},
      {"Code %d", -5, "Code -5"},
      {"%d%d", 7, "7%d"},
      {"100%% done: %d", 3, "100% done: 3"},
      {"%s %n %x %", 1, "%s %n %x %"},
      {"no placeholder", 9, "no placeholder"},
      {"%%d", 4, "%d"},
      {"", 1, ""},
      {"end %", 1, "end %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillNumberTemplate(c.text, c.number), c.filled) << c.text;
}
