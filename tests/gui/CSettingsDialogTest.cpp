#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "TestServers.h"
#include "TestServices.h"
#include "desktop/WarningBox.h"
#include "dialogs/CSettingsDialog.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A language folder of the test's own, and settings that start from their defaults.
class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings("Marrowby", "Quorvane").clear();
    m_app->LoadSettings();
    m_app->Languages().LoadLanguageFile("<main>", true);
    m_folder = MakeTempFolder();
    m_texts = std::make_unique<LocalizedTexts>(Folder(), "quorvane_gui_tests");
  }
  void TearDown() override {
    QSettings("Marrowby", "Quorvane").clear();
    m_app->LoadSettings();
    m_app->Languages().LoadLanguageFile("<main>", true);
    fs::remove_all(m_folder);
  }
  void Put(const std::string& name, const std::string& bytes = "") {
    std::ofstream(m_folder + "/" + name, std::ios::binary) << bytes;
  }
  QString Folder() const { return QString::fromStdString(m_folder); }
  static QVariant Stored(const char* entry) {
    return QSettings("Marrowby", "Quorvane").value(QString("Settings/") + entry);
  }
  template <typename Widget>
  static Widget* ControlOf(const CSettingsDialog& dialog, std::uint32_t id) {
    auto* widget = qobject_cast<Widget*>(dialog.Control(id));
    EXPECT_NE(widget, nullptr) << "no control " << id;
    return widget;
  }
  static QStringList Shown(const CSettingsDialog& dialog) {
    QStringList items;
    auto* list = ControlOf<QComboBox>(dialog, CSettingsDialog::IDC_LANGUAGE_LIST);
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
  }

  TestServices* m_app = &TestServices::Get();
  std::string m_folder;
  std::unique_ptr<LocalizedTexts> m_texts;  // the built-in texts, and the languages of m_folder
};

}  // namespace

TEST_F(SettingsDialogTest, ListsTheBuiltInTextsAndEveryLanguageFileSorted) {
  Put("b.lng");
  Put("A.lng");
  Put("with space.lng");
  Put("Ёлка.lng");
  Put("notes.txt");
  fs::create_directory(m_folder + "/folder.lng");
  const QStringList expected = {"<main> (Russian)", "A.lng", "b.lng", "folder.lng", "with space.lng", "Ёлка.lng"};
  EXPECT_EQ(CSettingsDialog::LanguageEntries(Folder()), expected);
  EXPECT_EQ(CSettingsDialog::LanguageEntries(Folder() + "/missing"), QStringList{"<main> (Russian)"});

  // Hundreds of files are all listed.
  for (int i = 0; i < 300; ++i) Put("many" + std::to_string(i) + ".lng");
  EXPECT_EQ(CSettingsDialog::LanguageEntries(Folder()).size(), expected.size() + 300);
}

TEST_F(SettingsDialogTest, SelectsTheStoredLanguageByItsBeginning) {
  const QStringList entries = {"<main> (Russian)", "A.lng", "b.lng", "bb.lng"};
  struct Case {
    const char* stored;
    int selected;
  } const cases[] = {{"b.lng", 2}, {"B.LNG", 2}, {"<main>", 0}, {"bb", 3}, {"gone.lng", 0}, {"a", 1}};
  for (const Case& c : cases) EXPECT_EQ(CSettingsDialog::SelectedEntry(entries, c.stored), c.selected) << c.stored;
}

TEST_F(SettingsDialogTest, OkStoresAllTenValuesAndCancelNothing) {
  Put("en.lng");
  m_app->Settings.LanguageFile = "en.lng";
  m_app->Settings.xWindowPos = 12;
  m_app->Settings.yWindowPos = 34;
  m_app->Settings.TopmostWindow = false;
  {
    CSettingsDialog dialog(m_app->Settings, m_app->Profile(), *m_texts);
    EXPECT_EQ(Shown(dialog), (QStringList{"<main> (Russian)", "en.lng"}));
    EXPECT_EQ(ControlOf<QComboBox>(dialog, CSettingsDialog::IDC_LANGUAGE_LIST)->currentText(), "en.lng");
    ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_GROUP_DIGITS)->setChecked(false);
    ControlOf<QComboBox>(dialog, CSettingsDialog::IDC_LANGUAGE_LIST)->setCurrentIndex(0);
    ControlOf<QPushButton>(dialog, CSettingsDialog::IDCANCEL)->click();
  }
  EXPECT_TRUE(m_app->Settings.GroupDigits) << "Cancel changes nothing in memory";
  EXPECT_EQ(m_app->Settings.LanguageFile, "en.lng");
  EXPECT_FALSE(Stored("GroupDigits").isValid()) << "nor on disk";

  CSettingsDialog dialog(m_app->Settings, m_app->Profile(), *m_texts);
  ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_GROUP_DIGITS)->setChecked(false);
  ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_SAVE_WINDOW_POS)->setChecked(false);
  EXPECT_FALSE(ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_ASK_HTTPS)->isChecked());
  ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_ASK_HTTPS)->setChecked(true);
  EXPECT_FALSE(ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_ASK_SIZE_OTHER_WAYS)->isChecked());
  ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_ASK_SIZE_OTHER_WAYS)->setChecked(true);
  ControlOf<QComboBox>(dialog, CSettingsDialog::IDC_LANGUAGE_LIST)->setCurrentIndex(0);
  ControlOf<QPushButton>(dialog, CSettingsDialog::IDOK)->click();
  EXPECT_FALSE(m_app->Settings.GroupDigits);
  EXPECT_TRUE(m_app->Settings.AskHttps);
  EXPECT_TRUE(m_app->Settings.AskSizeOtherWays);
  EXPECT_EQ(m_app->Settings.LanguageFile, "<main>") << "the built-in entry is stored as <main>";
  const std::pair<const char*, QVariant> stored[] = {
      {"TopmostWindow", 0}, {"WatchClipboard", 1}, {"AutoAskSize", 1}, {"GroupDigits", 0},     {"SingleInstance", 1},
      {"SaveWindowPos", 0}, {"xWindowPos", 12},    {"yWindowPos", 34}, {"LanguageFile", "<main>"},
      {"AskHttps", 1},      {"AskSizeOtherWays", 1}};
  for (const auto& [entry, value] : stored) EXPECT_EQ(Stored(entry).toString(), value.toString()) << entry;
}

TEST_F(SettingsDialogTest, TakesItsTextsFromTheTableAndGrowsTwoBoxes) {
  Put("en.lng", "100=Settings\n101=OK\n102=Cancel\n105=&Group digits\n108=&Language file:\n");
  ASSERT_TRUE(m_texts->Table().LoadFromPath(m_folder + "/en.lng", true));
  CSettingsDialog dialog(m_app->Settings, m_app->Profile(), *m_texts);
  EXPECT_EQ(dialog.windowTitle(), "Settings");
  EXPECT_EQ(ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_GROUP_DIGITS)->text(), "&Group digits");
  EXPECT_EQ(ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_WATCH_CLIPBOARD)->text(),
            "&Наблюдать за буфером обмена") << "a text the table lacks stays as designed";
  EXPECT_EQ(Shown(dialog).front(), "<main> (Russian)") << "whatever language is loaded";
  const int plain = ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_WATCH_CLIPBOARD)->height();
  for (auto id : {CSettingsDialog::IDC_GROUP_DIGITS, CSettingsDialog::IDC_SINGLE_INSTANCE})
    EXPECT_EQ(ControlOf<QCheckBox>(dialog, id)->height(), plain + 2) << id;
  EXPECT_EQ(ControlOf<QCheckBox>(dialog, CSettingsDialog::IDC_AUTO_ASK_SIZE)->height(), plain);
}

// The window's settings button: an accepted dialog loads the language again and sets the
// window's texts anew; a cancelled one changes nothing, not even the status line.
TEST_F(SettingsDialogTest, TheWindowTakesTheAcceptedSettingsAtOnce) {
  CMainDialog window(m_app->Settings, m_app->Profile(), m_app->Texts(), m_app->Queries());
  window.show();
  auto* status = qobject_cast<QLineEdit*>(window.Control(CMainDialog::IDC_STATUS));
  auto* urlLabel = qobject_cast<QLabel*>(window.Control(CMainDialog::IDC_URL_LABEL));
  auto answer = [](bool accept) {
    QTimer::singleShot(0, [accept] {
      auto* dialog = qobject_cast<CSettingsDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      qobject_cast<QPushButton*>(dialog->Control(accept ? CSettingsDialog::IDOK : CSettingsDialog::IDCANCEL))->click();
    });
  };
  status->setText("earlier");
  answer(false);
  window.OnSettings();
  EXPECT_EQ(status->text(), "earlier");
  EXPECT_EQ(urlLabel->text(), "&URL:");

  // Accepted with the built-in language: the texts lose their access keys, the status clears.
  m_app->Settings.LanguageFile = "<main>";
  answer(true);
  window.OnSettings();
  EXPECT_EQ(status->text(), "");
  EXPECT_EQ(urlLabel->text(), "URL:");
  EXPECT_EQ(qobject_cast<QCheckBox*>(window.Control(CMainDialog::IDC_TOPMOST))->text(), "Поверх всех окон");
  window.reject();
  EXPECT_TRUE(window.QueryLink()->WaitUntilIdle(3s));
}

// While the settings dialog is open the window is not the active one: an address copied
// meanwhile reaches it, as one handed over by a second copy does.
TEST_F(SettingsDialogTest, TheWindowTakesAddressesWhileTheDialogIsOpen) {
  m_app->Settings.AutoAskSize = false;
  CMainDialog window(m_app->Settings, m_app->Profile(), m_app->Texts(), m_app->Queries());
  window.show();
  QApplication::setActiveWindow(&window);
  QString whileOpen;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CSettingsDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    QGuiApplication::clipboard()->setText("ftp://example.com/copied");
    whileOpen = window.Address();
    window.OnExchangeNotify(QByteArray("WWW.handed-over"));  // asked at once, but no address: no network
    qobject_cast<QPushButton*>(dialog->Control(CSettingsDialog::IDCANCEL))->click();
  });
  window.OnSettings();
  EXPECT_EQ(whileOpen, "ftp://example.com/copied");
  EXPECT_EQ(window.Address(), "WWW.handed-over");
  window.reject();
  EXPECT_TRUE(window.QueryLink()->WaitUntilIdle(3s));
}
