#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "RealWindow.h"
#include "TestServers.h"
#include "XvfbDisplay.h"

using namespace std::chrono_literals;

// The real program in a real X server (RealWindow), driven and read the way a user would.

TEST(MainWindowE2E, ShowsTheSizeOfTheAddressGivenOnTheCommandLine) {
  XvfbDisplay display;
  auto server = TestServer::Http();
  RealWindow window(display, {server->Url("http", "/file/5000000000")});
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();

  const std::string size = window.WaitForSizeText(id, "5 000 000 000");
  EXPECT_EQ(size, "5 000 000 000");
}

TEST(MainWindowE2E, AMissingLanguageFileIsSaidBeforeTheWindowOpens) {
  XvfbDisplay display;
  RealWindow window(display, {}, "LanguageFile=missing.lng");
  // The message box is titled with the executable's name; the window is not there yet.
  const std::string box = window.WindowId("^quorvane$");
  ASSERT_FALSE(box.empty()) << window.Diagnosis();
  EXPECT_TRUE(display.Run({"xdotool", "search", "--onlyvisible", "--name", "^Quorvane 2"}).out.empty());
  window.Keys(box, {"Return"});
  EXPECT_FALSE(window.WindowId().empty()) << "after the message the window opens with the built-in texts\n"
                                           << window.Diagnosis();
}

// Escape during a query to a server that never answers: the cancel wakes the
// transfer, so the process ends at once (before the multi-interface cancel it
// took a second or more: curl's progress callback came about once a second).
// The figure itself is measured by bench/bench-cancel.sh, and the cancel's own speed by
// SizeQuery.CancellingEndsAQueryThatWouldWaitLong; this bound only says that the real program
// ends at once rather than waiting on its server, even under a sanitizer on a busy machine.
TEST(MainWindowE2E, ClosingDuringAQueryEndsTheProgramPromptly) {
  XvfbDisplay display;
  auto silent = TestServer::Http("silent");
  RealWindow window(display, {silent->Url("http", "/never")});
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();
  std::this_thread::sleep_for(300ms);  // the query is now waiting for the server
  display.Run({"xdotool", "windowfocus", "--sync", id});
  const auto start = std::chrono::steady_clock::now();
  display.Run({"xdotool", "key", "--clearmodifiers", "Escape"});
  const int status = window.Program().Finish(5s);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(status, 0) << window.Program().Stderr();
  EXPECT_LT(took, 2500ms);
  const double milliseconds = std::chrono::duration<double, std::milli>(took).count();
  RecordProperty("escape_to_exit_ms", std::to_string(milliseconds));
  std::printf("Escape to exit: %.1f ms\n", milliseconds);
}
