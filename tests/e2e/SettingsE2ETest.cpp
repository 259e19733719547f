#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

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
  // The first box has the focus; the third groups digits; the list follows the six boxes.
  window.Keys(settings, {"Tab", "Tab", "space", "Tab", "Tab", "Tab", "Tab", "Down", "Return"});

  const std::string stored = window.Home() + "/config/Marrowby/Quorvane.conf";
  for (int attempt = 0; attempt < 50 && FileText(stored).find("LanguageFile=QVN_eng.lng") == std::string::npos;
       ++attempt)
    std::this_thread::sleep_for(100ms);
  const std::string text = FileText(stored);
  for (const char* value : {"LanguageFile=QVN_eng.lng", "GroupDigits=0", "WatchClipboard=1", "AutoAskSize=1",
                            "SingleInstance=1", "SaveWindowPos=1", "TopmostWindow=1", "xWindowPos=", "yWindowPos=",
                            "AskHttps=0"})
    EXPECT_NE(text.find(value), std::string::npos) << value << " in\n" << text;

  const std::string address = server->Url("http", "/file/5000000000");
  window.Keys(id, {"alt+u", "ctrl+a"});
  display.Run({"xdotool", "type", "--delay", "1", address});
  display.Run({"xdotool", "key", "Return"});
  std::string size;
  for (int attempt = 0; attempt < 50 && size != "5000000000"; ++attempt) {
    size = window.SizeText(id);
    if (size != "5000000000") std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(size, "5000000000");

  // The settings now speak English too.
  window.Keys(id, {"alt+u", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
  const std::string english = window.WindowId("^Settings$");
  EXPECT_FALSE(english.empty()) << window.Diagnosis();
  if (!english.empty()) window.Keys(english, {"Escape"});
}
