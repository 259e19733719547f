#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>

#include <filesystem>
#include <fstream>

#include "Eventually.h"
#include "FakeQueries.h"
#include "TestServers.h"
#include "TestServices.h"
#include "controls/CIconButton.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"

using namespace std::chrono_literals;

namespace {

// The window's controls, found as language files know them: by their control IDs.
template <typename Widget>
Widget* ControlOf(const CMainDialog& dialog, std::uint32_t id) {
  auto* widget = qobject_cast<Widget*>(dialog.Control(id));
  EXPECT_NE(widget, nullptr) << "no such control " << id;
  return widget;
}
QLineEdit* UrlBox(const CMainDialog& d) { return ControlOf<QLineEdit>(d, CMainDialog::IDC_URL); }
QLineEdit* SizeBox(const CMainDialog& d) { return ControlOf<QLineEdit>(d, CMainDialog::IDC_SIZE); }
QLineEdit* StatusLine(const CMainDialog& d) { return ControlOf<QLineEdit>(d, CMainDialog::IDC_STATUS); }
QCheckBox* TopmostBox(const CMainDialog& d) { return ControlOf<QCheckBox>(d, CMainDialog::IDC_TOPMOST); }
CIconButton* QueryButton(const CMainDialog& d) { return ControlOf<CIconButton>(d, CMainDialog::IDOK); }
CIconButton* PasteButton(const CMainDialog& d) { return ControlOf<CIconButton>(d, CMainDialog::IDC_PASTE); }
CIconButton* SettingsButton(const CMainDialog& d) { return ControlOf<CIconButton>(d, CMainDialog::IDC_SETTINGS); }

class MainDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings("Marrowby", "Quorvane").clear();
    m_app->Languages().LoadLanguageFile("<main>", true);
    m_app->LoadSettings();
  }
  void TearDown() override { QSettings("Marrowby", "Quorvane").clear(); }

  // Stores a setting as a user's earlier run would have left it.
  static void Store(const char* entry, const QVariant& value) {
    QSettings settings("Marrowby", "Quorvane");
    settings.setValue(QString("Settings/") + entry, value);
    settings.sync();
    TestServices::Get().LoadSettings();
  }
  static QVariant Stored(const char* entry) {
    return QSettings("Marrowby", "Quorvane").value(QString("Settings/") + entry);
  }

  // Shows a window and, when it closes, lets its query threads finish. Its queries go to
  // `queries`, the real network code unless a test says otherwise.
  struct Shown {
    explicit Shown(const QString& startUrl = {}, QueryService& queries = TestServices::Get().Queries())
        : dialog(TestServices::Get().Settings, TestServices::Get().Profile(), TestServices::Get().Texts(), queries) {
      dialog.SetStartURL(startUrl);
      dialog.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    ~Shown() {
      dialog.reject();
      EXPECT_TRUE(dialog.QueryLink()->WaitUntilIdle(3s));
    }
    CMainDialog dialog;
  };

  TestServices* m_app = &TestServices::Get();
};

std::unique_ptr<TestServer> Server() { return TestServer::Http(); }

}  // namespace

TEST_F(MainDialogTest, StandsAsDesigned) {
  Shown shown;
  CMainDialog& d = shown.dialog;
  EXPECT_EQ(d.windowTitle(), "Quorvane 2.0");
  EXPECT_EQ(qobject_cast<QLabel*>(d.Control(CMainDialog::IDC_URL_LABEL))->text(), "&URL:");
  EXPECT_EQ(qobject_cast<QLabel*>(d.Control(CMainDialog::IDC_SIZE_LABEL))->text(), "&Размер:");
  EXPECT_EQ(TopmostBox(d)->text(), "&Поверх всех окон");
  EXPECT_EQ(QueryButton(d)->toolTip(), "Запрос размера файла");
  EXPECT_EQ(PasteButton(d)->toolTip(), "Вставить URL из буфера обмена");
  EXPECT_EQ(SettingsButton(d)->toolTip(), "Настройки программы");
  EXPECT_EQ(d.AboutAction()->text(), "&О программе...");
  EXPECT_TRUE(d.testAttribute(Qt::WA_AlwaysShowToolTips));

  EXPECT_TRUE(SizeBox(d)->isReadOnly());
  EXPECT_TRUE(SizeBox(d)->alignment() & Qt::AlignRight);
  EXPECT_TRUE(StatusLine(d)->isReadOnly());
  EXPECT_FALSE(StatusLine(d)->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "a fixed size";
  EXPECT_TRUE(QueryButton(d)->isDefault());
  EXPECT_FALSE(d.windowIcon().isNull());

  // Tab order: URL box, size box, check box, then the three buttons.
  QWidget* expected[] = {UrlBox(d), SizeBox(d), TopmostBox(d), QueryButton(d), PasteButton(d), SettingsButton(d)};
  UrlBox(d)->setFocus();
  for (QWidget* widget : expected) {
    EXPECT_EQ(QApplication::focusWidget(), widget) << widget->metaObject()->className();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  // Every control lies inside the window.
  for (QWidget* child : d.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible()) EXPECT_TRUE(d.rect().contains(child->geometry())) << child->metaObject()->className();
}

TEST_F(MainDialogTest, TakesItsTextsFromTheLanguageTable) {
  const std::string folder = MakeTempFolder();
  std::ofstream(folder + "/en.lng") << "1=&URL:\n2=&Size:\n3=&Always on top\n4=Ask\n51=&About...\n";
  ASSERT_TRUE(m_app->Languages().LoadFromPath(folder + "/en.lng", true));
  {
    Shown shown;
    EXPECT_EQ(TopmostBox(shown.dialog)->text(), "&Always on top");
    EXPECT_EQ(QueryButton(shown.dialog)->toolTip(), "Ask");
    EXPECT_EQ(PasteButton(shown.dialog)->toolTip(), "Вставить URL из буфера обмена");
    EXPECT_EQ(shown.dialog.AboutAction()->text(), "&About...");
  }
  // Texts set again after the start take the built-in texts without access keys.
  m_app->Languages().LoadLanguageFile("<main>", true);
  Shown shown;
  shown.dialog.SetControlTexts();
  EXPECT_EQ(qobject_cast<QLabel*>(shown.dialog.Control(CMainDialog::IDC_URL_LABEL))->text(), "URL:");
  EXPECT_EQ(TopmostBox(shown.dialog)->text(), "Поверх всех окон");
  std::filesystem::remove_all(folder);
}

TEST_F(MainDialogTest, EnterQueriesAndTheWindowStaysOpen) {
  auto server = Server();
  Shown shown;
  CMainDialog& d = shown.dialog;
  QTest::keyClicks(UrlBox(d), QString::fromStdString(server->Url("http", "/file/1048576")));
  QTest::keyClick(UrlBox(d), Qt::Key_Return);
  EXPECT_TRUE(Eventually([&] { return SizeBox(d)->text() == QString("1 048 576"); })) << SizeBox(d)->text().toStdString();
  EXPECT_EQ(StatusLine(d)->text(), "Ответ получен.");
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(Eventually([&] { return QueryButton(d)->isEnabled() && PasteButton(d)->isEnabled(); }));

  // The button asks again; GroupDigits is read at the moment the size shows.
  m_app->Settings.GroupDigits = false;
  UrlBox(d)->setText(QString::fromStdString(server->Url("http", "/file/5000000000")));
  QTest::mouseClick(QueryButton(d), Qt::LeftButton);
  EXPECT_TRUE(Eventually([&] { return SizeBox(d)->text() == QString("5000000000"); })) << SizeBox(d)->text().toStdString();
}

TEST_F(MainDialogTest, ButtonsAreOffOnlyWhileAServerIsAsked) {
  auto silent = TestServer::Http("silent");
  Shown shown;
  CMainDialog& d = shown.dialog;
  SizeBox(d)->setText("earlier");
  UrlBox(d)->setText("WWW.example.com");
  d.OnOK();
  EXPECT_TRUE(Eventually([&] { return StatusLine(d)->text() == QString("Неправильный формат адреса!"); })) << StatusLine(d)->text().toStdString();
  EXPECT_EQ(SizeBox(d)->text(), "earlier");
  EXPECT_TRUE(QueryButton(d)->isEnabled());

  UrlBox(d)->setText(QString::fromStdString(silent->Url("http", "/never")));
  d.OnOK();
  EXPECT_TRUE(Eventually([&] { return StatusLine(d)->text() == QString("Установка соединения..."); })) << StatusLine(d)->text().toStdString();
  EXPECT_FALSE(QueryButton(d)->isEnabled());
  EXPECT_FALSE(PasteButton(d)->isEnabled());
  EXPECT_EQ(SizeBox(d)->text(), "");
  EXPECT_TRUE(SettingsButton(d)->isEnabled());

  // A second start while the first waits changes nothing.
  UrlBox(d)->setText("WWW.refused");
  d.OnOK();
  QTest::qWait(200);
  EXPECT_EQ(StatusLine(d)->text(), "Установка соединения...");
}

TEST_F(MainDialogTest, ClosingDuringAQueryEndsItPromptly) {
  auto silent = TestServer::Http("silent");
  auto dialog = std::make_unique<CMainDialog>(m_app->Settings, m_app->Profile(), m_app->Texts(), m_app->Queries());
  dialog->show();
  UrlBox(*dialog)->setText(QString::fromStdString(silent->Url("http", "/never")));
  dialog->OnOK();
  EXPECT_TRUE(Eventually([&] { return !QueryButton(*dialog)->isEnabled(); }));
  const auto link = dialog->QueryLink();
  const auto start = std::chrono::steady_clock::now();
  dialog->reject();
  dialog.reset();  // the window is gone while its query still runs
  EXPECT_TRUE(link->WaitUntilIdle(3s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
}

TEST_F(MainDialogTest, AStartAddressIsAskedOnceWhenTheWindowShows) {
  auto server = Server();
  Store("AutoAskSize", 0);
  const QString address = server->Url("http", "/file/42").c_str();
  Shown shown(address);
  EXPECT_TRUE(Eventually([&] { return SizeBox(shown.dialog)->text() == QString("42"); })) << SizeBox(shown.dialog)->text().toStdString();
  EXPECT_EQ(UrlBox(shown.dialog)->text(), address);

  // Showing again (the window changing band, say) asks nothing more.
  SizeBox(shown.dialog)->setText("kept");
  shown.dialog.hide();
  shown.dialog.show();
  QTest::qWait(300);
  EXPECT_EQ(SizeBox(shown.dialog)->text(), "kept");
}

TEST_F(MainDialogTest, TheCheckBoxPutsTheWindowOnTopAndStoresItAtOnce) {
  Store("TopmostWindow", 0);
  Shown shown;
  CMainDialog& d = shown.dialog;
  EXPECT_FALSE(TopmostBox(d)->isChecked());
  EXPECT_FALSE(d.windowFlags() & Qt::WindowStaysOnTopHint);
  const QPoint before = d.pos();
  QTest::mouseClick(TopmostBox(d), Qt::LeftButton);
  EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(d.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.pos(), before);
  EXPECT_EQ(Stored("TopmostWindow").toInt(), 1);
  QTest::mouseClick(TopmostBox(d), Qt::LeftButton);
  EXPECT_EQ(Stored("TopmostWindow").toInt(), 0);

  Store("TopmostWindow", 1);
  Shown again;
  EXPECT_TRUE(TopmostBox(again.dialog)->isChecked());
  EXPECT_TRUE(again.dialog.windowFlags() & Qt::WindowStaysOnTopHint);
}

// (Places beyond the left edge are the rule's own test: the offscreen platform
// nudges windows with negative coordinates by their frame.)
TEST_F(MainDialogTest, KeepsItsPlaceBetweenRuns) {
  const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  struct Case {
    const char* name;
    int x, y;
    bool save;
    QPoint (*expected)(QSize screen, QSize window);
  };
  const Case cases[] = {
      {"nothing stored", -1, -1, true, [](QSize, QSize) { return QPoint(0, 0); }},
      {"a stored place", 120, 80, true, [](QSize, QSize) { return QPoint(120, 80); }},
      {"beyond the right edge", 100000, 10, true,
       [](QSize s, QSize w) { return QPoint(s.width() - w.width(), 10); }},
      {"not restored when switched off", 120, 80, false, [](QSize, QSize) { return QPoint(0, 0); }},
  };
  for (const auto& c : cases) {
    Store("xWindowPos", c.x);
    Store("yWindowPos", c.y);
    Store("SaveWindowPos", c.save ? 1 : 0);
    CMainDialog dialog(m_app->Settings, m_app->Profile(), m_app->Texts(), m_app->Queries());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.frameGeometry().topLeft(), c.expected(screen, dialog.frameGeometry().size())) << c.name;
    dialog.move(33, 44);
    dialog.reject();
    EXPECT_EQ(Stored("xWindowPos").toInt(), c.save ? 33 : c.x) << c.name;
    EXPECT_EQ(Stored("yWindowPos").toInt(), c.save ? 44 : c.y) << c.name;
  }
}

// Enter presses the button that has the focus; only elsewhere is the query button the default.
TEST_F(MainDialogTest, EnterPressesTheFocusedButton) {
  Shown shown;
  CMainDialog& d = shown.dialog;
  QSignalSpy queries(QueryButton(d), &QPushButton::clicked);
  for (CIconButton* button : {PasteButton(d), SettingsButton(d)}) {
    QSignalSpy pressed(button, &QPushButton::clicked);
    button->setFocus();
    // The settings button opens its dialog: close it as the user would.
    QTimer::singleShot(0, [] {
      if (QWidget* dialog = QApplication::activeModalWidget()) QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1) << "the focused button is pressed";
    EXPECT_EQ(queries.count(), 0) << "no query starts";
  }
  UrlBox(d)->setFocus();
  QTest::keyClick(UrlBox(d), Qt::Key_Return);
  EXPECT_EQ(queries.count(), 1) << "from the URL box, Enter asks";
  EXPECT_TRUE(QueryButton(d)->isDefault());
}

TEST_F(MainDialogTest, TheUrlBoxTakesAddressesOfAnyLength) {
  Shown shown;
  const QString address = "http://example.com/" + QString(40000, 'a');
  UrlBox(shown.dialog)->setText(address);
  EXPECT_EQ(shown.dialog.Address(), address);
}

namespace {

// Another program's window is the active one, as when the user copies in a browser.
struct AnotherWindowActive {
  AnotherWindowActive() {
    other.show();
    QApplication::setActiveWindow(&other);
  }
  QWidget other;
};

void Copy(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void CopyImage() {
  auto* data = new QMimeData;
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(Qt::red);
  data->setImageData(image);
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace

TEST_F(MainDialogTest, ACopiedAddressIsTakenAndAsked) {
  FakeQueries queries;
  Shown shown({}, queries);
  CMainDialog& d = shown.dialog;
  AnotherWindowActive elsewhere;
  ASSERT_NE(QApplication::activeWindow(), &d);
  Copy("http://example.com/copied");
  EXPECT_EQ(d.Address(), "http://example.com/copied");
  EXPECT_TRUE(Eventually([&] { return StatusLine(d)->text() == "asked http://example.com/copied"; }))
      << StatusLine(d)->text().toStdString();
  EXPECT_EQ(queries.Asked(), std::vector<std::string>{"http://example.com/copied"});
  queries.Release();
}

TEST_F(MainDialogTest, WhatACopyChangesInTheWindow) {
  struct Case {
    const char* name;
    QString copied;
    bool watch, autoAsk, windowActive;
    QString urlBox, status;  // what the window shows afterwards
  };
  // The URL box starts as "http://before/" and the status line as "earlier".
  const Case cases[] = {
      {"www. gets http://, not asked without AutoAskSize", "www.example.com/f", true, false, false,
       "http://www.example.com/f", ""},
      {"ftp is taken", "ftp://example.com/f", true, false, false, "ftp://example.com/f", ""},
      {"https is not", "https://example.com/f", true, false, false, "http://before/", ""},
      {"plain text clears the status line silently", "just words", true, false, false, "http://before/", ""},
      {"the URL box's own text changes nothing", "http://before/", true, true, false, "http://before/", "earlier"},
      {"the window itself active: not taken", "ftp://example.com/f", true, false, true, "http://before/", "earlier"},
      {"watching off: not taken", "ftp://example.com/f", false, false, false, "http://before/", "earlier"},
  };
  for (const Case& c : cases) {
    m_app->Settings.WatchClipboard = c.watch;
    m_app->Settings.AutoAskSize = c.autoAsk;
    Shown shown;
    CMainDialog& d = shown.dialog;
    UrlBox(d)->setText("http://before/");
    StatusLine(d)->setText("earlier");
    AnotherWindowActive elsewhere;
    if (c.windowActive) QApplication::setActiveWindow(&d);
    Copy(c.copied);
    EXPECT_EQ(d.Address(), c.urlBox) << c.name;
    EXPECT_EQ(StatusLine(d)->text(), c.status) << c.name;
    EXPECT_TRUE(QueryButton(d)->isEnabled()) << c.name << ": no query was started";
  }
}

TEST_F(MainDialogTest, ThePasteButtonTakesByHandAndSaysWhenItCannot) {
  m_app->Settings.AutoAskSize = false;
  Shown shown;
  CMainDialog& d = shown.dialog;
  QApplication::setActiveWindow(&d);  // the button works in the active window too
  StatusLine(d)->setText("earlier");

  CopyImage();
  QTest::mouseClick(PasteButton(d), Qt::LeftButton);
  EXPECT_EQ(StatusLine(d)->text(), "earlier") << "no text: nothing at all";

  Copy("no address here");
  QTest::mouseClick(PasteButton(d), Qt::LeftButton);
  EXPECT_EQ(StatusLine(d)->text(), "Неправильный формат адреса!");
  EXPECT_EQ(d.Address(), "");

  Copy("www.example.com/f");
  QTest::mouseClick(PasteButton(d), Qt::LeftButton);
  EXPECT_EQ(d.Address(), "http://www.example.com/f");
  EXPECT_EQ(StatusLine(d)->text(), "");
}

TEST_F(MainDialogTest, NothingIsTakenWhileAQueryRuns) {
  FakeQueries queries;
  Shown shown({}, queries);
  CMainDialog& d = shown.dialog;
  const QString asked = "http://example.com/held";
  UrlBox(d)->setText(asked);
  d.OnOK();
  ASSERT_TRUE(Eventually([&] { return StatusLine(d)->text() == "asked " + asked; }));
  ASSERT_FALSE(QueryButton(d)->isEnabled());
  AnotherWindowActive elsewhere;
  Copy("ftp://example.com/f");
  EXPECT_EQ(d.Address(), asked);
  EXPECT_FALSE(d.TakeURLFromClipboard(true));
  EXPECT_EQ(d.Address(), asked);
  EXPECT_EQ(StatusLine(d)->text(), "asked " + asked);

  // Once the query has ended, a copy is taken and asked again.
  queries.Release();
  ASSERT_TRUE(Eventually([&] { return QueryButton(d)->isEnabled(); }));
  Copy("ftp://example.com/f");
  EXPECT_EQ(d.Address(), "ftp://example.com/f");
  EXPECT_TRUE(Eventually([&] { return queries.Asked().size() == 2; }));
}

// With the https option on, the window asks an https address like an http one, from a
// server its authority bundle trusts; with it off the address is left alone.
TEST_F(MainDialogTest, AsksHttpsAddressesWhenTheUserOptsIn) {
  auto secure = TestServer::Https();
  const QByteArray savedBundle = qgetenv("CURL_CA_BUNDLE");
  qputenv("CURL_CA_BUNDLE", QByteArray::fromStdString(TestServer::TlsCertificate()));
  const QString address = QString::fromStdString(secure->Url("https", "/file/1048576"));
  for (bool asks : {false, true}) {
    m_app->Settings.AskHttps = asks;
    Shown shown;
    CMainDialog& d = shown.dialog;
    SizeBox(d)->setText("earlier");
    UrlBox(d)->setText(address);
    d.OnOK();
    if (asks) {
      EXPECT_TRUE(Eventually([&] { return SizeBox(d)->text() == "1 048 576"; })) << SizeBox(d)->text().toStdString();
      EXPECT_EQ(StatusLine(d)->text(), "Ответ получен.");
    } else {
      QTest::qWait(300);
      EXPECT_EQ(SizeBox(d)->text(), "earlier") << "not asked";
      EXPECT_EQ(StatusLine(d)->text(), "");
    }
  }
  qputenv("CURL_CA_BUNDLE", savedBundle);
}

// A server that streams a file without a length: with the option on, the window asks
// for its first byte and shows the total; with it off, the unknown-length verdict.
TEST_F(MainDialogTest, AsksForTheSizeAnotherWayWhenTheUserOptsIn) {
  auto server = Server();
  const QString address = QString::fromStdString(server->Url(
      "http", "/ranged/" + Base64Url("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n") + "/" +
                  Base64Url("HTTP/1.1 206 Partial Content\r\nContent-Range: bytes 0-0/5000000000\r\n\r\nx")));
  for (bool asks : {false, true}) {
    m_app->Settings.AskSizeOtherWays = asks;
    Shown shown;
    CMainDialog& d = shown.dialog;
    UrlBox(d)->setText(address);
    d.OnOK();
    const QString verdict = asks ? "Ответ получен." : "Неизвестная ошибка! Код: 200.";
    const QString size = asks ? "5 000 000 000" : "";
    // The size shows after the verdict, and both stay: wait for the pair.
    EXPECT_TRUE(Eventually([&] { return StatusLine(d)->text() == verdict && SizeBox(d)->text() == size; }))
        << StatusLine(d)->text().toStdString() << " / " << SizeBox(d)->text().toStdString();
  }
}

// The size box's tip shows the size in binary units too, in the loaded language, and only
// while the box holds a size.
TEST_F(MainDialogTest, TheSizeBoxTipGivesBinaryUnits) {
  auto server = Server();
  auto silent = TestServer::Http("silent");
  Shown shown;
  CMainDialog& d = shown.dialog;
  EXPECT_EQ(SizeBox(d)->toolTip(), "");
  UrlBox(d)->setText(QString::fromStdString(server->Url("http", "/file/5000000000")));
  d.OnOK();
  EXPECT_TRUE(Eventually([&] { return SizeBox(d)->text() == QString("5 000 000 000"); }));
  EXPECT_EQ(SizeBox(d)->toolTip(), "4.66 GiB (5 000 000 000 байт)");
  // The query ends after the size shows; only then does the button take another.
  EXPECT_TRUE(Eventually([&] { return QueryButton(d)->isEnabled(); }));
  // The user hovers the box: the tip is on screen from here on.
  QToolTip::showText(SizeBox(d)->mapToGlobal(SizeBox(d)->rect().center()), SizeBox(d)->toolTip(), SizeBox(d));
  ASSERT_TRUE(QToolTip::isVisible());

  const std::string folder = MakeTempFolder();
  std::ofstream(folder + "/en.lng") << "7=%s (%s bytes)\r\n";
  ASSERT_TRUE(m_app->Languages().LoadFromPath(folder + "/en.lng", true));
  d.SetControlTexts();
  EXPECT_EQ(SizeBox(d)->toolTip(), "4.66 GiB (5 000 000 000 bytes)");
  EXPECT_EQ(QToolTip::text(), "4.66 GiB (5 000 000 000 bytes)") << "the tip on screen says it too";
  std::filesystem::remove_all(folder);

  // A new query empties the box, and the tip goes with the size, also from the screen.
  UrlBox(d)->setText(QString::fromStdString(silent->Url("http", "/never")));
  d.OnOK();
  EXPECT_TRUE(Eventually([&] { return SizeBox(d)->text().isEmpty(); }));
  EXPECT_EQ(SizeBox(d)->toolTip(), "");
  EXPECT_TRUE(Eventually([] { return !QToolTip::isVisible(); })) << QToolTip::text().toStdString();
}
