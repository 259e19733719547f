#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <filesystem>
#include <fstream>

#include "TestServers.h"
#include "app/CMainApp.h"
#include "controls/CIconButton.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"

using namespace std::chrono_literals;

namespace {

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
    CMainApp::Current()->LoadSettings();
  }
  static QVariant Stored(const char* entry) {
    return QSettings("Marrowby", "Quorvane").value(QString("Settings/") + entry);
  }

  // Shows a window and, when it closes, lets its query threads finish.
  struct Shown {
    explicit Shown(const QString& startUrl = {}) {
      dialog.m_strStartURL = startUrl;
      dialog.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    ~Shown() {
      dialog.reject();
      EXPECT_TRUE(dialog.QueryLink()->WaitUntilIdle(3s));
    }
    CMainDialog dialog;
  };

  CMainApp* m_app = CMainApp::Current();
};

std::unique_ptr<TestServer> Server() { return TestServer::Http(); }

}  // namespace

TEST_F(MainDialogTest, StandsAsDesigned) {
  Shown shown;
  CMainDialog& d = shown.dialog;
  EXPECT_EQ(d.windowTitle(), "Quorvane 2.0");
  EXPECT_EQ(qobject_cast<QLabel*>(d.Control(CMainDialog::IDC_URL_LABEL))->text(), "&URL:");
  EXPECT_EQ(qobject_cast<QLabel*>(d.Control(CMainDialog::IDC_SIZE_LABEL))->text(), "&Размер:");
  EXPECT_EQ(d.m_checkTopmost->text(), "&Поверх всех окон");
  EXPECT_EQ(d.m_btnQuery->toolTip(), "Запрос размера файла");
  EXPECT_EQ(d.m_btnPaste->toolTip(), "Вставить URL из буфера обмена");
  EXPECT_EQ(d.m_btnSettings->toolTip(), "Настройки программы");
  EXPECT_EQ(d.AboutAction()->text(), "&О программе...");
  EXPECT_TRUE(d.testAttribute(Qt::WA_AlwaysShowToolTips));

  EXPECT_TRUE(d.m_editSize->isReadOnly());
  EXPECT_TRUE(d.m_editSize->alignment() & Qt::AlignRight);
  EXPECT_TRUE(d.m_editStatus->isReadOnly());
  EXPECT_FALSE(d.m_editStatus->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "a fixed size";
  EXPECT_TRUE(d.m_btnQuery->isDefault());
  EXPECT_FALSE(d.windowIcon().isNull());

  // Tab order: URL box, size box, check box, then the three buttons.
  QWidget* expected[] = {d.m_editURL, d.m_editSize, d.m_checkTopmost, d.m_btnQuery, d.m_btnPaste, d.m_btnSettings};
  d.m_editURL->setFocus();
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
    EXPECT_EQ(shown.dialog.m_checkTopmost->text(), "&Always on top");
    EXPECT_EQ(shown.dialog.m_btnQuery->toolTip(), "Ask");
    EXPECT_EQ(shown.dialog.m_btnPaste->toolTip(), "Вставить URL из буфера обмена");
    EXPECT_EQ(shown.dialog.AboutAction()->text(), "&About...");
  }
  // Texts set again after the start take the built-in texts without access keys.
  m_app->Languages().LoadLanguageFile("<main>", true);
  Shown shown;
  shown.dialog.SetControlTexts();
  EXPECT_EQ(qobject_cast<QLabel*>(shown.dialog.Control(CMainDialog::IDC_URL_LABEL))->text(), "URL:");
  EXPECT_EQ(shown.dialog.m_checkTopmost->text(), "Поверх всех окон");
  std::filesystem::remove_all(folder);
}

TEST_F(MainDialogTest, EnterQueriesAndTheWindowStaysOpen) {
  auto server = Server();
  Shown shown;
  CMainDialog& d = shown.dialog;
  QTest::keyClicks(d.m_editURL, QString::fromStdString(server->Url("http", "/file/1048576")));
  QTest::keyClick(d.m_editURL, Qt::Key_Return);
  QTRY_COMPARE_WITH_TIMEOUT(d.m_editSize->text(), QString("1 048 576"), 5000);
  EXPECT_EQ(d.m_editStatus->text(), "Ответ получен.");
  EXPECT_TRUE(d.isVisible());
  QTRY_VERIFY(d.m_btnQuery->isEnabled() && d.m_btnPaste->isEnabled());

  // The button asks again; GroupDigits is read at the moment the size shows.
  m_app->Settings.GroupDigits = false;
  d.m_editURL->setText(QString::fromStdString(server->Url("http", "/file/5000000000")));
  QTest::mouseClick(d.m_btnQuery, Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(d.m_editSize->text(), QString("5000000000"), 5000);
}

TEST_F(MainDialogTest, ButtonsAreOffOnlyWhileAServerIsAsked) {
  auto silent = TestServer::Http("silent");
  Shown shown;
  CMainDialog& d = shown.dialog;
  d.m_editSize->setText("earlier");
  d.m_editURL->setText("WWW.example.com");
  d.OnOK();
  QTRY_COMPARE(d.m_editStatus->text(), QString("Неправильный формат адреса!"));
  EXPECT_EQ(d.m_editSize->text(), "earlier");
  EXPECT_TRUE(d.m_btnQuery->isEnabled());

  d.m_editURL->setText(QString::fromStdString(silent->Url("http", "/never")));
  d.OnOK();
  QTRY_COMPARE(d.m_editStatus->text(), QString("Установка соединения..."));
  EXPECT_FALSE(d.m_btnQuery->isEnabled());
  EXPECT_FALSE(d.m_btnPaste->isEnabled());
  EXPECT_EQ(d.m_editSize->text(), "");
  EXPECT_TRUE(d.m_btnSettings->isEnabled());

  // A second start while the first waits changes nothing.
  d.m_editURL->setText("WWW.refused");
  d.OnOK();
  QTest::qWait(200);
  EXPECT_EQ(d.m_editStatus->text(), "Установка соединения...");
}

TEST_F(MainDialogTest, ClosingDuringAQueryEndsItPromptly) {
  auto silent = TestServer::Http("silent");
  auto dialog = std::make_unique<CMainDialog>();
  dialog->show();
  dialog->m_editURL->setText(QString::fromStdString(silent->Url("http", "/never")));
  dialog->OnOK();
  QTRY_VERIFY(!dialog->m_btnQuery->isEnabled());
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
  QTRY_COMPARE_WITH_TIMEOUT(shown.dialog.m_editSize->text(), QString("42"), 5000);
  EXPECT_EQ(shown.dialog.m_editURL->text(), address);

  // Showing again (the window changing band, say) asks nothing more.
  shown.dialog.m_editSize->setText("kept");
  shown.dialog.hide();
  shown.dialog.show();
  QTest::qWait(300);
  EXPECT_EQ(shown.dialog.m_editSize->text(), "kept");
}

TEST_F(MainDialogTest, TheCheckBoxPutsTheWindowOnTopAndStoresItAtOnce) {
  Store("TopmostWindow", 0);
  Shown shown;
  CMainDialog& d = shown.dialog;
  EXPECT_FALSE(d.m_checkTopmost->isChecked());
  EXPECT_FALSE(d.windowFlags() & Qt::WindowStaysOnTopHint);
  const QPoint before = d.pos();
  QTest::mouseClick(d.m_checkTopmost, Qt::LeftButton);
  EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(d.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.pos(), before);
  EXPECT_EQ(Stored("TopmostWindow").toInt(), 1);
  QTest::mouseClick(d.m_checkTopmost, Qt::LeftButton);
  EXPECT_EQ(Stored("TopmostWindow").toInt(), 0);

  Store("TopmostWindow", 1);
  Shown again;
  EXPECT_TRUE(again.dialog.m_checkTopmost->isChecked());
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
    CMainDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.frameGeometry().topLeft(), c.expected(screen, dialog.frameGeometry().size())) << c.name;
    dialog.move(33, 44);
    dialog.reject();
    EXPECT_EQ(Stored("xWindowPos").toInt(), c.save ? 33 : c.x) << c.name;
    EXPECT_EQ(Stored("yWindowPos").toInt(), c.save ? 44 : c.y) << c.name;
  }
}
