#include "RealWindow.h"

#include <filesystem>
#include <fstream>
#include <thread>

#include "TestServers.h"

using namespace std::chrono_literals;

RealWindow::RealWindow(const XvfbDisplay& display, const std::vector<std::string>& arguments,
                       const std::string& settings, const std::string& program)
    : m_display(display), m_home(WithSettings(settings)), m_program([&arguments, &program] {
        std::vector<std::string> argv = {program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        return argv;
      }(), Environment()) {}

RealWindow::~RealWindow() {
  m_program.Terminate();
  m_program.Finish(5s);
  std::filesystem::remove_all(m_home);
}

std::string RealWindow::WindowId(const std::string& title) {
  for (const auto deadline = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < deadline;) {
    const auto found = m_display.Run({"xdotool", "search", "--onlyvisible", "--name", title}, 5s);
    if (!found.out.empty()) return found.out.substr(0, found.out.find('\n'));
    std::this_thread::sleep_for(100ms);
  }
  return "";
}

void RealWindow::Keys(const std::string& window, const std::vector<std::string>& keys) {
  m_display.Run({"xdotool", "windowfocus", "--sync", window});
  std::vector<std::string> argv = {"xdotool", "key", "--clearmodifiers"};
  argv.insert(argv.end(), keys.begin(), keys.end());
  m_display.Run(argv);
}

std::string RealWindow::SizeText(const std::string& window) {
  // Alt+U reaches the URL box through its label; the size box follows it in the tab order.
  Keys(window, {"alt+u", "Tab", "ctrl+a", "ctrl+c"});
  return m_display.Run({"xclip", "-o", "-selection", "clipboard"}, 5s).out;
}

std::string RealWindow::WaitForSizeText(const std::string& window, const std::string& expected) {
  std::string size;
  for (int attempt = 0; attempt < 50 && size != expected; ++attempt) {
    size = SizeText(window);
    if (size != expected) std::this_thread::sleep_for(100ms);
  }
  return size;
}

std::string RealWindow::Diagnosis() {
  const std::string windows = m_display.Run({"xwininfo", "-root", "-tree"}, 5s).out;
  const bool running = m_program.IsRunning();
  m_program.Terminate();
  m_program.Finish(5s);
  return std::string(running ? "the program ran on" : "the program had ended") + "; windows:\n" + windows +
         "stderr:\n" + m_program.Stderr();
}

// A private home (mode 0700) for the settings and the instance channel, so that windows
// of tests running side by side never hand their addresses over to each other.
std::string RealWindow::WithSettings(const std::string& settings) {
  const std::string home = MakeTempFolder();
  std::filesystem::create_directories(home + "/config/Marrowby");
  if (!settings.empty()) std::ofstream(home + "/config/Marrowby/Quorvane.conf") << "[Settings]\n" << settings << "\n";
  return home;
}

std::vector<std::string> RealWindow::Environment() const {
  return {"DISPLAY=" + m_display.Name(), "XDG_CONFIG_HOME=" + m_home + "/config", "XDG_RUNTIME_DIR=" + m_home,
          "QT_QPA_PLATFORM=xcb", "http_proxy=", "HTTP_PROXY=", "no_proxy=*"};
}
