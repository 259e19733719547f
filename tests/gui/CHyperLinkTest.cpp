#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "Eventually.h"
#include "FakeDesktop.h"
#include "TestServers.h"
#include "AnsweredBoxes.h"
#include "TestServices.h"
#include "controls/CHyperLink.h"
#include "desktop/LinkOpener.h"
#include "desktop/WarningBox.h"

using namespace std::chrono_literals;

namespace {

// Runs the test on a FakeDesktop: this process's environment is that desktop's until the end.
class OnFakeDesktop {
 public:
  explicit OnFakeDesktop(const FakeDesktop& desktop, const std::string& htmlHandler = "") {
    for (const std::string& entry : desktop.Environment(htmlHandler)) {
      const std::string name = entry.substr(0, entry.find('='));
      m_saved.push_back({name, qEnvironmentVariableIsSet(name.c_str())
                                   ? std::optional<QByteArray>(qgetenv(name.c_str()))
                                   : std::nullopt});
      qputenv(name.c_str(), QByteArray::fromStdString(entry.substr(name.size() + 1)));
    }
  }
  ~OnFakeDesktop() {
    for (const auto& [name, value] : m_saved) {
      if (value)
        qputenv(name.c_str(), *value);
      else
        qunsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<QByteArray>>> m_saved;
};

// Opens `target` through the link layer and waits for the result.
std::optional<int> OpenAndWait(const QString& target, std::chrono::milliseconds timeout = 8s) {
  QObject context;
  std::optional<int> result;
  CHyperLink::OpenTarget(target, &context, [&result](int code) { result = code; });
  Eventually([&] { return result.has_value(); }, timeout);
  return result;
}

// A link in a dialog, attached, shown and painted.
struct ShownLink {
  explicit ShownLink(const QString& text, const QString& target = "") {
    link = new CHyperLink(TestServices::Get().Texts(), &dialog);
    link->setText(text);
    link->SetTarget(target);
    link->PreSubclassWindow();
    link->setGeometry(10, 10, 200, 30);
    dialog.resize(220, 50);
    dialog.show();
  }
  QDialog dialog;
  CHyperLink* link;
};

std::string RecordedCallsText(const FakeDesktop& desktop) {
  std::string text;
  for (const auto& call : desktop.Calls()) {
    for (const auto& word : call) text += "[" + word + "] ";
    text += "\n";
  }
  return text;
}

}  // namespace

TEST(CHyperLink, AttachingFillsAnEmptyTargetOrAnEmptyText) {
  struct Case {
    const char* name;
    QString text, target;
    QString shown, opens;
  } cases[] = {
      {"text only: opens its text", "www.example.org", "", "www.example.org", "www.example.org"},
      {"target only: shows it", "", "mailto:help@example.org", "mailto:help@example.org", "mailto:help@example.org"},
      {"both: each its own", "Home", "https://example.org/", "Home", "https://example.org/"},
  };
  for (const Case& each : cases) {
    ShownLink shown(each.text, each.target);
    EXPECT_EQ(shown.link->text(), each.shown) << each.name;
    EXPECT_EQ(shown.link->Target(), each.opens) << each.name;
  }
  ShownLink later("help@example.org");
  later.link->SetTarget("mailto:help@example.org");
  EXPECT_EQ(later.link->text(), "help@example.org") << "a target set after attaching leaves the text";
  EXPECT_EQ(later.link->Target(), "mailto:help@example.org");
}

// Blue underlined text on the dialog's own background, the pointing hand, and the same blue
// after the pointer came over it and after a click.
TEST(CHyperLink, LooksLikeALinkInEveryState) {
  FakeDesktop desktop;
  OnFakeDesktop environment(desktop);  // nothing opens links here: a click ends in the message
  AnsweredBoxes boxes;
  ShownLink shown("help@example.org");
  CHyperLink* link = shown.link;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown.dialog));

  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->font().family(), shown.dialog.font().family()) << "the dialog's font, underlined";
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(link->autoFillBackground());

  auto paintedColours = [&] {
    const QImage image = shown.dialog.grab().toImage();
    const QRect area = link->geometry();
    std::set<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
  };
  const QRgb background = shown.dialog.palette().color(QPalette::Window).rgb();
  const std::set<QRgb> before = paintedColours();
  EXPECT_TRUE(before.count(qRgb(0, 0, 255))) << "the underline is drawn in pure blue";
  EXPECT_TRUE(before.count(background)) << "the dialog's background shows around the text";

  QTest::mouseMove(link, link->rect().center());
  QEnterEvent enter(link->rect().center(), link->mapToGlobal(link->rect().center()),
                    link->mapToGlobal(link->rect().center()));
  QCoreApplication::sendEvent(link, &enter);
  EXPECT_EQ(paintedColours(), before) << "no hover colour";

  QSignalSpy finished(link, &CHyperLink::OpenFinished);
  QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
  ASSERT_TRUE(Eventually([&] { return finished.count() == 1; }, 8s));
  EXPECT_EQ(paintedColours(), before) << "no visited colour";
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    EXPECT_EQ(link->palette().color(group, QPalette::WindowText), QColor(0, 0, 255)) << group;
}

// With nothing on the desktop to open a link: the message with the code, titled with the
// program's name, in the built-in or the loaded language, the code filled in safely.
TEST(CHyperLink, AClickThatOpensNothingShowsTheMessageWithItsCode) {
  FakeDesktop desktop;
  OnFakeDesktop environment(desktop);
  AnsweredBoxes boxes;
  ShownLink shown("www.example.org", "https://www.example.org/quorvane/");
  QSignalSpy finished(shown.link, &CHyperLink::OpenFinished);

  QTest::mouseClick(shown.link, Qt::LeftButton, {}, shown.link->rect().center());
  ASSERT_TRUE(Eventually([&] { return finished.count() == 1; }, 8s));
  EXPECT_EQ(finished.at(0).at(0).toInt(), LinkOpener::kNoAssociation);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_EQ(boxes.titles[0], "quorvane_gui_tests");
  EXPECT_EQ(boxes.texts[0], "Не удалось выполнить команду.\nКод ошибки: 31.");

  const std::string folder = MakeTempFolder();
  std::ofstream(folder + "/t.lng", std::ios::binary) << "1001=%s%n failed %%: %d (%d)\r\n";
  TestServices::Get().Languages().LoadFromPath(folder + "/t.lng", false);
  CHyperLink::ShowOpenError(&shown.dialog, TestServices::Get().Texts(), 2);
  TestServices::Get().Languages().LoadLanguageFile("<main>", true);
  std::filesystem::remove_all(folder);
  ASSERT_EQ(boxes.texts.size(), 2);
  EXPECT_EQ(boxes.texts[1], "%s%n failed %: 2 (%d)");

  // A press dragged off the link opens nothing.
  QTest::mousePress(shown.link, Qt::LeftButton, {}, shown.link->rect().center());
  QTest::mouseRelease(shown.link, Qt::LeftButton, {}, shown.link->rect().bottomRight() + QPoint(20, 20));
  QTest::qWait(200);
  EXPECT_EQ(finished.count(), 1);
}

// The fallback: the handler registered for web pages, from its desktop entry, started
// directly with the target as one argument, whatever the target or the entry holds.
TEST(LinkOpenerFallback, StartsTheRegisteredHandlerWithoutAShell) {
  FakeDesktop desktop;
  desktop.AddXdgMime();
  desktop.AddRecorder("test-browser");
  const std::string planted = desktop.Root() + "/planted";
  desktop.WriteDesktopEntry("test-browser.desktop",
                            "[Desktop Entry]\nType=Application\nName=Test browser\n"
                            "Exec=test-browser \"one; $(touch " + planted + ") `touch " + planted +
                                "`\" --new-window \"%u\" --dropped %U\n");
  OnFakeDesktop environment(desktop, "test-browser.desktop");

  const QString hostile = QString::fromStdString("https://example.org/a b\";touch " + planted + ";$(touch " + planted +
                                                 ")\n`touch " + planted + "`'");
  EXPECT_EQ(OpenAndWait(hostile), LinkOpener::kOpened);
  ASSERT_TRUE(Eventually([&] { return desktop.Calls().size() == 1; }));
  const std::vector<std::string> expected = {"test-browser", "one; $(touch " + planted + ") `touch " + planted + "`",
                                             "--new-window", hostile.toStdString()};
  EXPECT_EQ(desktop.Calls()[0], expected) << RecordedCallsText(desktop);
  QTest::qWait(100);
  EXPECT_FALSE(std::filesystem::exists(planted)) << "something ran a shell";

  desktop.WriteDesktopEntry("test-browser.desktop", "[Desktop Entry]\nExec=test-browser --plain\n");
  EXPECT_EQ(OpenAndWait("mailto:help@example.org"), LinkOpener::kOpened);
  ASSERT_TRUE(Eventually([&] { return desktop.Calls().size() == 2; }));
  const auto calls = desktop.Calls();
  EXPECT_TRUE(std::count(calls.begin(), calls.end(),
                         std::vector<std::string>{"test-browser", "--plain", "mailto:help@example.org"}))
      << "without a field code the target goes at the end\n"
      << RecordedCallsText(desktop);
}

// Whatever goes wrong before a handler runs: no usable handler (31); a handler that cannot be
// started (2). Never a hang: a helper that does not answer is given up.
TEST(LinkOpenerFallback, EveryBrokenHandlerEndsInAnErrorCode) {
  struct Case {
    const char* name;
    bool withXdgMime;
    std::string answer;
    std::optional<std::string> entry;  // written as test-browser.desktop
    int result;
  } cases[] = {
      {"no xdg-mime", false, "test-browser.desktop", "[Desktop Entry]\nExec=test-browser\n", LinkOpener::kNoAssociation},
      {"xdg-mime fails", true, "(fail)", "[Desktop Entry]\nExec=test-browser\n", LinkOpener::kNoAssociation},
      {"no handler registered", true, "", std::nullopt, LinkOpener::kNoAssociation},
      {"says too much", true, "(flood)", std::nullopt, LinkOpener::kNoAssociation},
      {"a name that leaves the folder", true, "../applications/test-browser.desktop",
       "[Desktop Entry]\nExec=test-browser\n", LinkOpener::kNoAssociation},
      {"its desktop file is missing", true, "gone.desktop", std::nullopt, LinkOpener::kNoAssociation},
      {"no Exec line", true, "test-browser.desktop", "[Desktop Entry]\nName=No command\n", LinkOpener::kNoAssociation},
      {"Exec cannot be split", true, "test-browser.desktop", "[Desktop Entry]\nExec=\"test-browser %u\n",
       LinkOpener::kNoAssociation},
      {"not a text file", true, "test-browser.desktop", std::string("\x7f" "ELF\0\0\x01", 7), LinkOpener::kNoAssociation},
      {"program missing", true, "test-browser.desktop", "[Desktop Entry]\nExec=/nonexistent/browser %u\n",
       LinkOpener::kHandlerNotStarted},
  };
  for (const Case& each : cases) {
    FakeDesktop desktop;
    if (each.withXdgMime) desktop.AddXdgMime();
    desktop.AddRecorder("test-browser");
    if (each.entry) desktop.WriteDesktopEntry("test-browser.desktop", *each.entry);
    OnFakeDesktop environment(desktop, each.answer);
    EXPECT_EQ(OpenAndWait("https://www.example.org/quorvane/"), each.result) << each.name;
    EXPECT_TRUE(desktop.Calls().empty()) << each.name << "\n" << RecordedCallsText(desktop);
  }

  // A desktop "file" that is a FIFO or a folder is not waited on.
  for (const char* kind : {"fifo", "folder"}) {
    FakeDesktop desktop;
    desktop.AddXdgMime();
    const std::string path = desktop.Applications() + "/test-browser.desktop";
    ASSERT_EQ(kind == std::string("fifo") ? mkfifo(path.c_str(), 0600) : mkdir(path.c_str(), 0700), 0);
    OnFakeDesktop environment(desktop, "test-browser.desktop");
    EXPECT_EQ(OpenAndWait("https://www.example.org/quorvane/", 3s), LinkOpener::kNoAssociation) << kind;
  }
}

// The desktop's opener has opened the target only when it says so; when it fails, the web
// page handler is tried, and when there is none, the click ends in the error code.
TEST(LinkOpener, TheDesktopsOpenerCountsOnlyWhenItSucceeds) {
  const std::string target = "https://www.example.org/quorvane/";
  struct Case {
    const char* name;
    const char* openerStatus;
    const char* htmlHandler;  // what xdg-mime answers
    int result;
    bool handlerStarted;
  } cases[] = {
      {"the opener succeeds: nothing else runs", "0", "test-browser.desktop", LinkOpener::kOpened, false},
      {"the opener finds nothing to open with: the handler", "4", "test-browser.desktop", LinkOpener::kOpened, true},
      {"the opener fails and no handler is set: the code", "4", "(fail)", LinkOpener::kNoAssociation, false},
      {"the opener is killed: the handler", "kill", "test-browser.desktop", LinkOpener::kOpened, true},
  };
  for (const Case& each : cases) {
    FakeDesktop desktop;
    desktop.AddRecorder("xdg-open", each.openerStatus);
    desktop.AddXdgMime();
    desktop.AddRecorder("test-browser");
    desktop.WriteDesktopEntry("test-browser.desktop", "[Desktop Entry]\nExec=test-browser %u\n");
    OnFakeDesktop environment(desktop, each.htmlHandler);
    EXPECT_EQ(OpenAndWait(QString::fromStdString(target)), each.result) << each.name;
    std::vector<std::vector<std::string>> expected = {{"xdg-open", target}};
    if (each.handlerStarted) expected.insert(expected.begin(), {"test-browser", target});  // Calls() is sorted
    Eventually([&] { return desktop.Calls().size() >= expected.size(); });
    QTest::qWait(100);  // room for a call that should not come
    EXPECT_EQ(desktop.Calls(), expected) << each.name << "\n" << RecordedCallsText(desktop);
  }
}

// A helper that never ends is not waited for on the UI thread, and not for ever: xdg-mime
// gives no answer, and an xdg-open still busy has handed the target to a program it runs in
// the foreground.
TEST(LinkOpener, AHelperThatNeverEndsIsGivenUpWithoutBlockingTheWindow) {
  struct Case {
    const char* helper;
    int boundMs;
    int result;
  } cases[] = {
      {"xdg-mime", LinkOpener::kHandlerQueryTimeoutMs, LinkOpener::kNoAssociation},
      {"xdg-open", LinkOpener::kOpenerTimeoutMs, LinkOpener::kOpened},
  };
  for (const Case& each : cases) {
    FakeDesktop desktop;
    desktop.AddXdgMime();
    if (each.helper == std::string("xdg-open")) desktop.AddRecorder("xdg-open", "stall");
    OnFakeDesktop environment(desktop, "(stall)");
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(50);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(OpenAndWait("https://www.example.org/quorvane/", 15s), each.result) << each.helper;
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, each.boundMs * 9 / 10) << each.helper << ": a coarse timer may fire a little early";
    EXPECT_LT(waited, each.boundMs + 2000) << each.helper;
    EXPECT_GT(ticks, waited / 50 / 2) << each.helper << ": the event loop kept running while it was asked";
  }
}
