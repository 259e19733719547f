#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/ProductVersion.h"
#include "core/AboutTexts.h"

namespace {

// A language table as a map, counting how often each ID is asked for.
struct CountingTable {
  std::map<std::uint32_t, std::string> texts;
  std::map<std::uint32_t, int> asked;
  TextLookup Lookup() {
    return [this](std::uint32_t id, std::string& text) {
      ++asked[id];
      const auto found = texts.find(id);
      if (found == texts.end()) return false;
      text = found->second;
      return true;
    };
  }
};

const std::map<std::uint32_t, std::string> kEnglish = {
    {50, "About"},     {52, "Program:"},   {53, "Version:"}, {54, "Quorvane developers"}, {55, "All rights reserved."},
    {56, "Home page:"}, {57, "E-mail:"},   {58, "OK"}};

// The institution is the organisation the settings are kept under, with the source's year.
const std::string kInstitutionLatin = std::string("Marrowby, ") + kSourceYear;
const std::string kInstitutionRussian = kInstitutionLatin + " г.";

}  // namespace

TEST(AboutTexts, ComposesEachLineFromTheTableOrTheBuiltInText) {
  struct Case {
    const char* name;
    std::map<std::uint32_t, std::string> table;
    std::string version;
    AboutTexts expected;
  } cases[] = {
      {"built-in texts, Cyrillic developer lines",
       {},
       "2.0",
       {"О программе", "Программа: Quorvane", "Версия: 2.0", "Разработчики Quorvane", kInstitutionRussian,
        "© Все права защищены.", "Домашняя страница:", "E-mail:", "OK"}},
      {"a whole table, Latin developer lines",
       kEnglish,
       "2.01",
       {"About", "Program: Quorvane", "Version: 2.01", "Quorvane developers", kInstitutionLatin,
        "© All rights reserved.", "Home page:", "E-mail:", "OK"}},
      {"52 without 53 next to the built-in version label",
       {{52, "Programm:"}},
       "2.0",
       {"О программе", "Programm: Quorvane", "Версия: 2.0", "Разработчики Quorvane", kInstitutionRussian,
        "© Все права защищены.", "Домашняя страница:", "E-mail:", "OK"}},
      {"54 alone is the developer line and switches the institution line",
       {{54, "Entwickler von Quorvane"}},
       "2.0",
       {"О программе", "Программа: Quorvane", "Версия: 2.0", "Entwickler von Quorvane", kInstitutionLatin,
        "© Все права защищены.", "Домашняя страница:", "E-mail:", "OK"}},
      {"empty version keeps the one blank, empty table texts count",
       {{53, ""}, {54, ""}, {55, ""}},
       "",
       {"О программе", "Программа: Quorvane", " ", "", kInstitutionLatin, "© ", "Домашняя страница:",
        "E-mail:", "OK"}},
  };
  for (const Case& each : cases) {
    CountingTable table{each.table, {}};
    const AboutTexts texts = ComposeAboutTexts(table.Lookup(), each.version);
    EXPECT_EQ(texts.caption, each.expected.caption) << each.name;
    EXPECT_EQ(texts.program, each.expected.program) << each.name;
    EXPECT_EQ(texts.version, each.expected.version) << each.name;
    EXPECT_EQ(texts.developer, each.expected.developer) << each.name;
    EXPECT_EQ(texts.institution, each.expected.institution) << each.name;
    EXPECT_EQ(texts.rights, each.expected.rights) << each.name;
    EXPECT_EQ(texts.homePage, each.expected.homePage) << each.name;
    EXPECT_EQ(texts.email, each.expected.email) << each.name;
    EXPECT_EQ(texts.ok, each.expected.ok) << each.name;
    // One lookup per ID: the two developer lines can never disagree about the language.
    for (const std::uint32_t id : {50u, 52u, 53u, 54u, 55u, 56u, 57u, 58u})
      EXPECT_EQ(table.asked[id], 1) << each.name << ": string " << id;
    EXPECT_EQ(table.asked.size(), 8u) << each.name << ": only the box's own strings are asked";
  }
}
