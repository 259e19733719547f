#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "FakeDesktop.h"
#include "RealWindow.h"
#include "XvfbDisplay.h"

using namespace std::chrono_literals;

namespace {

// The real program on a private X server and a FakeDesktop: it sees that desktop's
// programs and nothing of the machine's own (the tools driving it keep theirs).
class AboutBoxWindow {
 public:
  AboutBoxWindow(const XvfbDisplay& display, const FakeDesktop& desktop, const std::string& htmlHandler = "",
                 const std::string& settings = "")
      : m_display(display) {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const std::string& entry : desktop.Environment(htmlHandler)) {
      const std::string name = entry.substr(0, entry.find('='));
      const char* value = std::getenv(name.c_str());
      saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
      setenv(name.c_str(), entry.c_str() + name.size() + 1, 1);
    }
    m_window.emplace(display, std::vector<std::string>{}, settings);
    for (const auto& [name, value] : saved) value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
  }

  RealWindow& Window() { return *m_window; }

  // F1 in the main window; gives the About box's id and how long it took to be mapped.
  std::pair<std::string, std::chrono::milliseconds> OpenAboutBox(const std::string& title) {
    const std::string main = m_window->WindowId();
    if (main.empty()) return {"", 0ms};
    m_display.Run({"xdotool", "windowfocus", "--sync", main});
    const auto start = std::chrono::steady_clock::now();
    m_display.Run({"xdotool", "key", "F1"});
    const std::string box = m_window->WindowId(title);
    return {box, std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)};
  }

  // Clicks the middle of a link: in dialog units the box is 113 high and the links' middles
  // lie 74.5 left of its right edge, at y 82 (home page) or 95 (e-mail). A horizontal unit is
  // about a vertical one; the link is 75 wide, so that estimate stays well inside it. (A wide
  // font widens the label column, which moves the links but not their distance to the edge.)
  void ClickLink(const std::string& box, int rowY) {
    const auto geometry = m_display.Run({"xdotool", "getwindowgeometry", "--shell", box}).out;
    auto value = [&](const std::string& key) {
      const auto at = geometry.find(key + "=");
      return at == std::string::npos ? 0 : std::atoi(geometry.c_str() + at + key.size() + 1);
    };
    const double unit = value("HEIGHT") / 113.0;
    const int x = value("WIDTH") - static_cast<int>(74.5 * unit);
    const int y = static_cast<int>(rowY * unit);
    m_display.Run({"xdotool", "mousemove", "--window", box, std::to_string(x), std::to_string(y), "click", "1"});
  }

 private:
  const XvfbDisplay& m_display;
  std::optional<RealWindow> m_window;
};

}  // namespace

// F1 opens the box in the loaded language (the English file by default); each link hands its
// target to the desktop's opener: the full web address, and "mailto:" with the address.
TEST(AboutBoxE2E, F1OpensTheBoxAndEachLinkGoesToTheOpener) {
  XvfbDisplay display;
  FakeDesktop desktop;
  desktop.AddRecorder("xdg-open");
  AboutBoxWindow program(display, desktop);
  const auto [box, took] = program.OpenAboutBox("^About$");
  ASSERT_FALSE(box.empty()) << program.Window().Diagnosis();
  std::printf("F1 to the About box mapped: %lld ms\n", static_cast<long long>(took.count()));

  program.ClickLink(box, 82);
  for (const auto deadline = std::chrono::steady_clock::now() + 10s;
       desktop.Calls().size() < 1 && std::chrono::steady_clock::now() < deadline;)
    std::this_thread::sleep_for(50ms);
  program.ClickLink(box, 95);
  for (const auto deadline = std::chrono::steady_clock::now() + 10s;
       desktop.Calls().size() < 2 && std::chrono::steady_clock::now() < deadline;)
    std::this_thread::sleep_for(50ms);
  const std::vector<std::vector<std::string>> expected = {{"xdg-open", "https://www.example.org/quorvane/"},
                                                          {"xdg-open", "mailto:help@example.org"}};
  EXPECT_EQ(desktop.Calls(), expected) << program.Window().Diagnosis();
}

TEST(AboutBoxE2E, TheBuiltInLanguageShowsTheRussianCaption) {
  XvfbDisplay display;
  FakeDesktop desktop;
  AboutBoxWindow program(display, desktop, "", "LanguageFile=<main>");
  EXPECT_FALSE(program.OpenAboutBox("^О программе$").first.empty()) << program.Window().Diagnosis();
}

// Nothing can open a link, whether there is no opener or the opener finds nothing to open it
// with (xdg-open ends with 4 then): the message box, titled with the executable's name, comes
// up over the box, and the box is still there once it is answered.
TEST(AboutBoxE2E, WhenNothingOpensTheLinkTheMessageComes) {
  for (const char* openerStatus : {"", "4"}) {
    XvfbDisplay display;
    FakeDesktop desktop;
    if (*openerStatus) desktop.AddRecorder("xdg-open", openerStatus);
    AboutBoxWindow program(display, desktop);
    const std::string box = program.OpenAboutBox("^About$").first;
    ASSERT_FALSE(box.empty()) << program.Window().Diagnosis();
    program.ClickLink(box, 82);
    const std::string message = program.Window().WindowId("^quorvane$");
    ASSERT_FALSE(message.empty()) << "xdg-open status '" << openerStatus << "'\n" << program.Window().Diagnosis();
    // Its text cannot be read from outside here (a message box copies it only on Windows); the
    // widget tests check the text and its code through the message-box seam.
    program.Window().Keys(message, {"Return"});
    EXPECT_FALSE(program.Window().WindowId("^About$").empty()) << "the box stays open after the message";
  }
}

// No opener, or one that fails, but a web page handler registered for text/html with a
// command line a shell would take apart: it is started directly, each word one argument.
TEST(AboutBoxE2E, TheFallbackStartsTheRegisteredHandlerDirectly) {
  for (const char* openerStatus : {"", "4"}) {
    XvfbDisplay display;
    FakeDesktop desktop;
    if (*openerStatus) desktop.AddRecorder("xdg-open", openerStatus);
    desktop.AddXdgMime();
    desktop.AddRecorder("web-browser");
    const std::string planted = desktop.Root() + "/planted";
    desktop.WriteDesktopEntry("web-browser.desktop", "[Desktop Entry]\nType=Application\nName=Web\nExec=web-browser "
                                                     "\"a b;touch " + planted + ";$(touch " + planted +
                                                         ")\" \"%u\" --after\n");
    AboutBoxWindow program(display, desktop, "web-browser.desktop");
    const std::string box = program.OpenAboutBox("^About$").first;
    ASSERT_FALSE(box.empty()) << program.Window().Diagnosis();
    program.ClickLink(box, 95);
    std::vector<std::vector<std::string>> expected = {
        {"web-browser", "a b;touch " + planted + ";$(touch " + planted + ")", "mailto:help@example.org"}};
    if (*openerStatus) expected.insert(expected.end(), {"xdg-open", "mailto:help@example.org"});
    for (const auto deadline = std::chrono::steady_clock::now() + 10s;
         desktop.Calls().size() < expected.size() && std::chrono::steady_clock::now() < deadline;)
      std::this_thread::sleep_for(50ms);
    EXPECT_EQ(desktop.Calls(), expected) << "xdg-open status '" << openerStatus << "'\n"
                                         << program.Window().Diagnosis();
    EXPECT_FALSE(std::filesystem::exists(planted));
  }
}
