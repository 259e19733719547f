#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "RealWindow.h"
#include "TestServers.h"
#include "XvfbDisplay.h"

using namespace std::chrono_literals;

namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

// A new user opens the settings with the keyboard, switches to English, unticks "group digits",
// and the next size shows ungrouped, with every value in the settings file.
TEST(SettingsE2E, ANewUserSwitchesToEnglishAndUngroupedSizes) {
  XvfbDisplay display;
  auto server = TestServer::Http();
  RealWindow window(display, {}, "LanguageFile=<main>");
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();

  // URL box, size box, check box, query, paste, then the settings button; Enter presses it.
  window.Keys(id, {"alt+u", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  const std::string settings = window.WindowId("^Настройки$");
  ASSERT_FALSE(settings.empty()) << window.Diagnosis();
  // The first box has the focus; the third groups digits; the list follows the seven boxes.
  window.Keys(settings, {"Tab", "Tab", "space", "Tab", "Tab", "Tab", "Tab", "Tab", "Down", "Return"});

  // Each value is written as it is stored, one after another: wait for all of them.
  const std::string stored = window.Home() + "/config/Marrowby/Quorvane.conf";
  const std::vector<std::string> values = {"LanguageFile=QVN_eng.lng", "GroupDigits=0", "WatchClipboard=1",
                                           "AutoAskSize=1", "SingleInstance=1", "SaveWindowPos=1",
                                           "TopmostWindow=1", "xWindowPos=", "yWindowPos=", "AskHttps=0",
                                           "AskSizeOtherWays=0"};
  auto missing = [&] {
    const std::string text = FileText(stored);
    std::string absent;
    for (const std::string& value : values)
      if (text.find(value) == std::string::npos) absent += value + " ";
    return absent;
  };
  for (int attempt = 0; attempt < 50 && !missing().empty(); ++attempt) std::this_thread::sleep_for(100ms);
  EXPECT_EQ(missing(), "") << "in\n" << FileText(stored);

  const std::string address = server->Url("http", "/file/5000000000");
  window.Keys(id, {"alt+u", "ctrl+a"});
  display.Run({"xdotool", "type", "--delay", "1", address});
  display.Run({"xdotool", "key", "Return"});
  const std::string size = window.WaitForSizeText(id, "5000000000");
  EXPECT_EQ(size, "5000000000");

  // The settings now speak English too.
  window.Keys(id, {"alt+u", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  const std::string english = window.WindowId("^Settings$");
  EXPECT_FALSE(english.empty()) << window.Diagnosis();
  if (!english.empty()) window.Keys(english, {"Escape"});
}
