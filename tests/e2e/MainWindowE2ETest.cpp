#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TestServers.h"
#include "XvfbDisplay.h"

using namespace std::chrono_literals;

namespace {

// The real program in a real X server, driven and read the way a user would:
// keys through xdotool, the size box's text through the clipboard.
class RealWindow {
 public:
  RealWindow(const XvfbDisplay& display, const std::vector<std::string>& arguments, const std::string& settings = "")
      : m_display(display), m_home(WithSettings(settings)), m_program(Argv(arguments), Environment()) {}
  ~RealWindow() {
    m_program.Terminate();
    m_program.Finish(5s);
    std::filesystem::remove_all(m_home);
  }

  // Waits for a window whose title matches and gives its X id.
  // Asks again rather than using xdotool's --sync: a search fails outright (BadWindow) when
  // another window, such as a message box, goes away while it looks.
  std::string WindowId(const std::string& title = "^Quorvane 2\\.0$") {
    for (const auto deadline = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < deadline;) {
      const auto found = m_display.Run({"xdotool", "search", "--onlyvisible", "--name", title}, 5s);
      if (!found.out.empty()) return found.out.substr(0, found.out.find('\n'));
      std::this_thread::sleep_for(100ms);
    }
    return "";
  }
  void Keys(const std::string& window, const std::vector<std::string>& keys) {
    m_display.Run({"xdotool", "windowfocus", "--sync", window});
    std::vector<std::string> argv = {"xdotool", "key", "--clearmodifiers"};
    argv.insert(argv.end(), keys.begin(), keys.end());
    m_display.Run(argv);
  }

  // Copies the size box's text to the clipboard and reads it back.
  std::string SizeText(const std::string& window) {
    m_display.Run({"xdotool", "windowfocus", "--sync", window});
    // Alt+U reaches the URL box through its label; the size box follows it in the tab order.
    m_display.Run({"xdotool", "key", "--clearmodifiers", "alt+u", "Tab", "ctrl+a", "ctrl+c"});
    return m_display.Run({"xclip", "-o", "-selection", "clipboard"}, 5s).out;
  }

  ChildProcess& Program() { return m_program; }

  // What a failing test shows: whether the program still ran, the X server's windows, and
  // everything the program wrote to stderr (it is ended for that).
  std::string Diagnosis() {
    const std::string windows = m_display.Run({"xwininfo", "-root", "-tree"}, 5s).out;
    const bool running = m_program.IsRunning();
    m_program.Terminate();
    m_program.Finish(5s);
    return std::string(running ? "the program ran on" : "the program had ended") + "; windows:\n" + windows +
           "stderr:\n" + m_program.Stderr();
  }

 private:
  // A private home (mode 0700) for the settings and the instance channel, so that windows
  // of tests running side by side never hand their addresses over to each other.
  static std::string WithSettings(const std::string& settings) {
    const std::string home = MakeTempFolder();
    std::filesystem::create_directories(home + "/config/Marrowby");
    if (!settings.empty())
      std::ofstream(home + "/config/Marrowby/Quorvane.conf") << "[Settings]\n" << settings << "\n";
    return home;
  }
  static std::vector<std::string> Argv(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {QUORVANE_EXE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return argv;
  }
  std::vector<std::string> Environment() const {
    return {"DISPLAY=" + m_display.Name(), "XDG_CONFIG_HOME=" + m_home + "/config", "XDG_RUNTIME_DIR=" + m_home,
            "QT_QPA_PLATFORM=xcb", "http_proxy=", "HTTP_PROXY=", "no_proxy=*"};
  }

  const XvfbDisplay& m_display;
  std::string m_home;
  ChildProcess m_program;
};

}  // namespace

TEST(MainWindowE2E, ShowsTheSizeOfTheAddressGivenOnTheCommandLine) {
  XvfbDisplay display;
  auto server = TestServer::Http();
  RealWindow window(display, {server->Url("http", "/file/5000000000")});
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();

  std::string size;
  for (int attempt = 0; attempt < 50 && size != "5 000 000 000"; ++attempt) {
    size = window.SizeText(id);
    if (size != "5 000 000 000") std::this_thread::sleep_for(100ms);
  }
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
// The figure itself is measured by bench/bench-cancel.sh; the bound here is generous.
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
  EXPECT_LT(took, 500ms);
  const double milliseconds = std::chrono::duration<double, std::milli>(took).count();
  RecordProperty("escape_to_exit_ms", std::to_string(milliseconds));
  std::printf("Escape to exit: %.1f ms\n", milliseconds);
}
