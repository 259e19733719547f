#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "RealWindow.h"
#include "TestServers.h"

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The window in a corner while the user works in another program: another X client's
// window has the focus, and xclip, a third program, owns the clipboard.
class ClipboardWatching : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = MakeTempFolder();
    m_log = m_folder + "/requests.log";
    m_server = TestServer::Http("http", m_log);
  }
  void TearDown() override {
    m_owner.reset();
    m_other.reset();
    m_window.reset();
    m_server.reset();
    std::filesystem::remove_all(m_folder);
  }

  std::string StartWindow(const std::string& settings = "") {
    m_window = std::make_unique<RealWindow>(m_display, std::vector<std::string>{}, settings);
    return m_window->WindowId();
  }
  // Another program's window takes the focus, as a browser would.
  void FocusAnotherProgram() {
    m_other = std::make_unique<ChildProcess>(std::vector<std::string>{"xev", "-name", "another-program"},
                                             std::vector<std::string>{"DISPLAY=" + m_display.Name()});
    const std::string other = m_window->WindowId("^another-program$");
    ASSERT_FALSE(other.empty());
    m_display.Run({"xdotool", "windowfocus", "--sync", other});
    // Qt's xcb platform lets a window lose the focus only after a short delay (so that a
    // focus moving between its own windows does not flicker); a user takes longer than that
    // to copy something in the other program.
    std::this_thread::sleep_for(1s);
  }
  // Another program copies `text` and keeps serving it, like any clipboard owner.
  void Copy(const std::string& text) {
    const std::string file = m_folder + "/copied";
    std::ofstream(file, std::ios::binary) << text;
    m_owner = std::make_unique<ChildProcess>(
        std::vector<std::string>{"xclip", "-quiet", "-selection", "clipboard", "-i", file},
        std::vector<std::string>{"DISPLAY=" + m_display.Name()});
  }

  int Requests(const std::string& path) const {
    std::ifstream in(m_log);
    std::string line;
    int count = 0;
    while (std::getline(in, line)) count += line.find(" " + path + " HTTP/") != std::string::npos;
    return count;
  }
  bool WaitForRequest(const std::string& path, std::chrono::milliseconds timeout = 10s) const {
    for (const auto deadline = Clock::now() + timeout; Clock::now() < deadline; std::this_thread::sleep_for(2ms))
      if (Requests(path) > 0) return true;
    return false;
  }
  std::string Address(const std::string& path) const { return m_server->Url("http", path); }

  XvfbDisplay m_display;
  std::string m_folder;
  std::string m_log;
  std::unique_ptr<TestServer> m_server;
  std::unique_ptr<RealWindow> m_window;
  std::unique_ptr<ChildProcess> m_other;
  std::unique_ptr<ChildProcess> m_owner;
};

}  // namespace

TEST_F(ClipboardWatching, AnAddressCopiedElsewhereIsShownWithItsSize) {
  const std::string id = StartWindow();
  ASSERT_FALSE(id.empty()) << m_window->Diagnosis();
  FocusAnotherProgram();

  const auto copied = Clock::now();
  Copy(Address("/file/1048576"));
  ASSERT_TRUE(WaitForRequest("/file/1048576")) << m_window->Diagnosis();
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - copied).count();
  RecordProperty("copy_to_request_ms", std::to_string(ms));
  std::printf("copy by another program to the window's request: %.1f ms\n", ms);

  const std::string size = m_window->WaitForSizeText(id, "1 048 576");
  EXPECT_EQ(size, "1 048 576");
}

TEST_F(ClipboardWatching, OnlyHttpAndFtpAddressesAreTaken) {
  ASSERT_FALSE(StartWindow().empty()) << m_window->Diagnosis();
  FocusAnotherProgram();
  // https and plain words are not taken; "www." gets "http://" in front and is asked.
  const std::string hostAndPort = Address("/").substr(7, Address("/").size() - 8);
  for (const std::string& text : {"https://" + hostAndPort + "/file/11", std::string("no address at all"),
                                  "WWW." + hostAndPort + "/file/12"}) {
    Copy(text);
    std::this_thread::sleep_for(300ms);
  }
  Copy(Address("/file/13"));
  ASSERT_TRUE(WaitForRequest("/file/13")) << m_window->Diagnosis();
  EXPECT_EQ(Requests("/file/11") + Requests("/file/12"), 0);
}

TEST_F(ClipboardWatching, WithWatchingOffACopyChangesNothing) {
  ASSERT_FALSE(StartWindow("WatchClipboard=0\nLanguageFile=<main>").empty()) << m_window->Diagnosis();
  FocusAnotherProgram();
  Copy(Address("/file/21"));
  EXPECT_FALSE(WaitForRequest("/file/21", 1500ms));
}

// A clipboard owner that stops answering holds the window while Qt waits for it: once for
// the list of formats and once for the text, 5 s each; then the window goes on as before.
TEST_F(ClipboardWatching, AHungOwnerHoldsTheWindowOnlyForAWhile) {
  const std::string id = StartWindow("AutoAskSize=1");
  ASSERT_FALSE(id.empty()) << m_window->Diagnosis();
  FocusAnotherProgram();
  Copy(Address("/file/31"));
  ASSERT_TRUE(WaitForRequest("/file/31"));
  kill(m_owner->Pid(), SIGSTOP);  // the owner hangs

  // The paste button asks the hung owner: URL box, size box, check box, query, paste.
  m_window->Keys(id, {"alt+u", "Tab", "Tab", "Tab", "Tab", "Return"});
  const auto pasted = Clock::now();
  std::string size;
  while (size != "31" && Clock::now() - pasted < 20s) size = m_window->SizeText(id);
  const double seconds = std::chrono::duration<double>(Clock::now() - pasted).count();
  std::printf("the window answered again %.1f s after asking a hung clipboard owner\n", seconds);
  RecordProperty("hung_owner_s", std::to_string(seconds));
  EXPECT_EQ(size, "31") << "the window works again";
  EXPECT_LT(seconds, 15.0) << "two of Qt's 5 s clipboard timeouts, and the time a busy machine adds";
  kill(m_owner->Pid(), SIGCONT);
}
