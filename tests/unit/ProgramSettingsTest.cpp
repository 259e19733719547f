#include <gtest/gtest.h>

#include <map>

#include "core/ProfileStore.h"
#include "core/ProgramSettings.h"
#include "core/VersionText.h"
#include "core/WindowPositionRule.h"

namespace {

// A store in memory: what is written can be read back, and a test can plant raw values.
class MemoryStore : public ProfileStore {
 public:
  std::int32_t GetProfileInt(const std::string& section, const std::string& entry, std::int32_t def) override {
    const auto found = m_ints.find(section + "/" + entry);
    return found == m_ints.end() ? def : found->second;
  }
  std::string GetProfileString(const std::string& section, const std::string& entry,
                               const std::string& def) override {
    const auto found = m_strings.find(section + "/" + entry);
    return found == m_strings.end() ? def : found->second;
  }
  bool WriteProfileInt(const std::string& section, const std::string& entry, std::int32_t value) override {
    m_ints[section + "/" + entry] = value;
    return true;
  }
  bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value) override {
    m_strings[section + "/" + entry] = value;
    return true;
  }
  std::map<std::string, std::int32_t> m_ints;
  std::map<std::string, std::string> m_strings;
};

}  // namespace

TEST(ProgramSettings, AnEmptyStoreGivesTheDefaults) {
  MemoryStore store;
  ProgramSettings settings;
  settings.GroupDigits = false;
  settings.Load(store);
  EXPECT_TRUE(settings.TopmostWindow && settings.WatchClipboard && settings.AutoAskSize && settings.GroupDigits &&
              settings.SingleInstance && settings.SaveWindowPos);
  EXPECT_EQ(settings.xWindowPos, -1);
  EXPECT_EQ(settings.yWindowPos, -1);
  EXPECT_EQ(settings.LanguageFile, "QVN_eng.lng");
  EXPECT_FALSE(settings.AskHttps) << "https is asked only when the user opts in";
  EXPECT_FALSE(settings.AskSizeOtherWays) << "asked other ways only when the user opts in";
}

TEST(ProgramSettings, RoundTripsAndNormalisesBooleans) {
  MemoryStore store;
  store.m_ints["Settings/TopmostWindow"] = 5;
  store.m_ints["Settings/WatchClipboard"] = 0;
  store.m_ints["Settings/xWindowPos"] = -50;
  store.m_strings["Settings/LanguageFile"] = "";
  ProgramSettings settings;
  settings.Load(store);
  EXPECT_TRUE(settings.TopmostWindow);
  EXPECT_FALSE(settings.WatchClipboard);
  EXPECT_EQ(settings.xWindowPos, -50);
  EXPECT_EQ(settings.LanguageFile, "");

  settings.Save(store);
  EXPECT_EQ(store.m_ints["Settings/TopmostWindow"], 1);
  EXPECT_EQ(store.m_ints["Settings/WatchClipboard"], 0);
  EXPECT_EQ(store.m_ints.size(), 10u) << "eight numbers, AskHttps and AskSizeOtherWays";
  EXPECT_EQ(store.m_ints["Settings/AskHttps"], 0) << "a store from before the option gets it off";
  EXPECT_EQ(store.m_ints["Settings/AskSizeOtherWays"], 0) << "a store from before the option gets it off";
  ProgramSettings again;
  again.Load(store);
  EXPECT_EQ(again.xWindowPos, -50);
  EXPECT_EQ(again.yWindowPos, -1);
  EXPECT_FALSE(again.WatchClipboard);
}

TEST(VersionText, FormatsTheProductVersion) {
  struct Case {
    std::optional<VersionNumbers> version;
    const char* text;
  };
  const Case cases[] = {
      {VersionNumbers{2, 0, 0, 0}, "2.0"},   {VersionNumbers{2, 0, 1, 0}, "2.01"},
      {VersionNumbers{2, 0, 0, 3}, "2.003"}, {VersionNumbers{2, 1, 2, 3}, "2.123"},
      {VersionNumbers{10, 20, 0, 0}, "10.20"}, {std::nullopt, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatVersionText(c.version), c.text) << c.text;
  EXPECT_EQ(GetVersionText(), "2.0") << "the program is version 2.0.0.0";
}

TEST(WindowPositionRule, PlacesTheWindowFromTheStoredPosition) {
  struct Case {
    const char* name;
    std::int32_t x, y;
    int left, top;
  };
  // A 300x120 window at (0,0) on a 1024x768 screen.
  const Case cases[] = {
      {"nothing stored", -1, -1, 0, 0},
      {"a plain position", 100, 200, 100, 200},
      {"left edge at the screen width", 1024, 10, 724, 10},
      {"left edge beyond the screen", 5000, 10, 724, 10},
      {"top edge beyond the screen", 10, 768, 10, 648},
      {"partly off to the right stays", 1000, 700, 1000, 700},
      {"beyond the left edge stays", -50, -20, -50, -20},
      {"only x stored", 30, -1, 30, 0},
  };
  for (const auto& c : cases) {
    const auto placed = RestoredWindowPosition(c.x, c.y, {0, 0}, 300, 120, 1024, 768);
    EXPECT_EQ(placed.left, c.left) << c.name;
    EXPECT_EQ(placed.top, c.top) << c.name;
  }
}
