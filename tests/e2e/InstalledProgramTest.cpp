#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "RealWindow.h"
#include "TestServers.h"
#include "XvfbDisplay.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The build installed into a private DESTDIR under /usr, as the package lays it out.
class InstalledProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_destdir = new std::string(MakeTempFolder());
    s_install = new ChildProcess::Result(ChildProcess::Run(
        {CMAKE_COMMAND, "--install", QUORVANE_BUILD_DIR, "--prefix", "/usr"}, 120s, {"DESTDIR=" + *s_destdir}));
  }
  static void TearDownTestSuite() {
    fs::remove_all(*s_destdir);
    delete s_install;
    delete s_destdir;
  }
  void SetUp() override { ASSERT_EQ(s_install->exitStatus, 0) << s_install->out << s_install->err; }

  static fs::path Usr() { return fs::path(*s_destdir) / "usr"; }

  static std::string* s_destdir;
  static ChildProcess::Result* s_install;
};
std::string* InstalledProgram::s_destdir = nullptr;
ChildProcess::Result* InstalledProgram::s_install = nullptr;

}  // namespace

TEST_F(InstalledProgram, LaysItsFilesOutWhereTheDesktopLooks) {
  const char* const files[] = {
      "libexec/quorvane/quorvane",
      "libexec/quorvane/libquorvane_window.so",
      "libexec/quorvane/libquorvane_network.so",
      "libexec/quorvane/libquorvane_channel.so",
      "libexec/quorvane/libquorvane_qtsettings.so",
      "libexec/quorvane/Language/QVN_eng.lng",
      "bin/quorvane-size",
      "share/applications/org.example.quorvane.desktop",
      "share/metainfo/org.example.quorvane.metainfo.xml",
      "share/icons/hicolor/16x16/apps/quorvane.png",
      "share/icons/hicolor/32x32/apps/quorvane.png",
      "share/icons/hicolor/48x48/apps/quorvane.png",
      "share/icons/hicolor/scalable/apps/quorvane.svg",
      "share/man/man1/quorvane.1.gz",
      "share/man/man1/quorvane-size.1.gz",
      "share/doc/quorvane/copyright",
  };
  for (const char* file : files) EXPECT_TRUE(fs::is_regular_file(Usr() / file)) << file;
  for (const char* program : {"libexec/quorvane/quorvane", "bin/quorvane-size"})
    EXPECT_NE(fs::status(Usr() / program).permissions() & fs::perms::others_exec, fs::perms::none) << program;

  // bin/quorvane is a relative link, so it leads to the real program under any prefix.
  const fs::path link = Usr() / "bin/quorvane";
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), "../libexec/quorvane/quorvane");
  EXPECT_EQ(fs::canonical(link), fs::canonical(Usr() / "libexec/quorvane/quorvane"));
}

TEST_F(InstalledProgram, DesktopEntryAndMetainfoValidateAndClaimNoLinks) {
  const fs::path entry = Usr() / "share/applications/org.example.quorvane.desktop";
  const auto desktop = ChildProcess::Run({"desktop-file-validate", entry.string()}, 30s);
  EXPECT_EQ(desktop.exitStatus, 0) << desktop.out << desktop.err;
  EXPECT_EQ(desktop.out + desktop.err, "");
  const auto metainfo = ChildProcess::Run(
      {"appstreamcli", "validate", "--no-net", (Usr() / "share/metainfo/org.example.quorvane.metainfo.xml").string()},
      60s);
  EXPECT_EQ(metainfo.exitStatus, 0) << metainfo.out << metainfo.err;

  // Claiming http or ftp links would make this the browser of a desktop that has none set.
  const std::string text = ReadFile(entry);
  EXPECT_EQ(text.find("MimeType"), std::string::npos) << text;
  EXPECT_NE(text.find("\nExec=quorvane %u\n"), std::string::npos) << text;
}

TEST_F(InstalledProgram, ManualPagesRenderWithoutWarnings) {
  for (const char* page : {"quorvane.1.gz", "quorvane-size.1.gz"}) {
    const auto shown = ChildProcess::Run({"man", "--warnings", "-l", (Usr() / "share/man/man1" / page).string()}, 30s,
                                         {"MANWIDTH=80", "MANPAGER=cat", "PAGER=cat", "LC_ALL=C.UTF-8"});
    EXPECT_EQ(shown.exitStatus, 0) << page << shown.err;
    EXPECT_EQ(shown.err, "") << page;
    EXPECT_NE(shown.out.find("EXIT STATUS"), std::string::npos) << page;
  }
}

// Started through the link in bin/, the window finds its language files and its network code
// beside the real program: no missing-file message first, the size is asked, and the texts
// are English ("&Size:" gives the
// size box Alt+S, which the built-in "&Размер:" does not).
TEST_F(InstalledProgram, StartsInEnglishThroughTheLink) {
  XvfbDisplay display;
  auto server = TestServer::Http();
  RealWindow window(display, {server->Url("http", "/file/5000000000")}, "", (Usr() / "bin/quorvane").string());
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();
  EXPECT_TRUE(display.Run({"xdotool", "search", "--onlyvisible", "--name", "^quorvane$"}).out.empty()) << "a message box showed";

  std::string size;
  for (int attempt = 0; attempt < 50 && size != "5 000 000 000"; ++attempt) {
    window.Keys(id, {"alt+u", "alt+s", "ctrl+a", "ctrl+c"});
    size = display.Run({"xclip", "-o", "-selection", "clipboard"}, 5s).out;
    if (size != "5 000 000 000") std::this_thread::sleep_for(100ms);
  }
  EXPECT_EQ(size, "5 000 000 000") << window.Diagnosis();
}

// quorvane-size in bin/ finds the window's language beside the real program too.
TEST_F(InstalledProgram, TheTerminalCommandSpeaksTheWindowsLanguage) {
  auto server = TestServer::Http();
  const std::string settings = MakeTempFolder();
  const auto result = ChildProcess::Run({(Usr() / "bin/quorvane-size").string(), "--human",
                                         server->Url("http", "/file/1048576")},
                                        60s, {"XDG_CONFIG_HOME=" + settings, "http_proxy=", "no_proxy=*"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "1.00 MiB (1 048 576 bytes)\n");
  EXPECT_EQ(result.err, "Connecting...\nConnected. Asking for the size...\nAnswer received.\n");
  fs::remove_all(settings);
}

// A second start of the installed program hands its address to the window that runs: the
// channel's server, too, is found beside the real program.
TEST_F(InstalledProgram, ASecondStartHandsItsAddressOver) {
  XvfbDisplay display;
  auto server = TestServer::Http();
  const std::string program = (Usr() / "bin/quorvane").string();
  RealWindow window(display, {server->Url("http", "/file/1")}, "", program);
  const std::string id = window.WindowId();
  ASSERT_FALSE(id.empty()) << window.Diagnosis();
  ASSERT_EQ(window.WaitForSizeText(id, "1"), "1") << window.Diagnosis();

  const auto second = ChildProcess::Run(
      {program, server->Url("http", "/file/5000000000")}, 30s,
      {"DISPLAY=" + display.Name(), "XDG_CONFIG_HOME=" + window.Home() + "/config", "XDG_RUNTIME_DIR=" + window.Home(),
       "QT_QPA_PLATFORM=xcb", "http_proxy=", "HTTP_PROXY=", "no_proxy=*"});
  EXPECT_EQ(second.exitStatus, 0) << second.err;
  EXPECT_EQ(window.WaitForSizeText(id, "5 000 000 000"), "5 000 000 000") << window.Diagnosis();
}
