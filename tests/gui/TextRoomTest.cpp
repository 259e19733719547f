#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestServers.h"
#include "TestServices.h"
#include "dialogs/CAboutDialog.h"
#include "dialogs/CSettingsDialog.h"
#include "mainwindow/CMainDialog.h"
#include "mainwindow/MainDialogQueryLink.h"

using namespace std::chrono_literals;

namespace {

// Far longer texts than the design's, for every control that shows one.
const char* const kLongTexts =
    "1=Address of the &file to ask about:\r\n"
    "2=&Size of that file in bytes:\r\n"
    "3=Keep this window &above all the others\r\n"
    "50=About this program\r\n52=Name of this program:\r\n53=Version of this program:\r\n"
    "54=Made by the Quorvane developers and their friends\r\n"
    "55=All rights reserved, everywhere and for ever.\r\n"
    "56=The program's home page:\r\n57=Electronic mail for help:\r\n58=Close this box\r\n"
    "100=Settings\r\n101=Keep these settings\r\n102=Leave everything as it was\r\n"
    "103=&Watch the clipboard for addresses copied in other programs\r\n"
    "104=&Automatically ask for the size of every address taken\r\n"
    "105=&Group the digits of a size by three\r\n"
    "106=&Only allow one copy of this program to run at a time\r\n"
    "107=&Save the window position when the window closes\r\n"
    "108=The &language of every window:\r\n"
    "109=Ask &https addresses too, with their certificates checked\r\n"
    "110=When a server does not say the size, ask it once more in another wa&y\r\n";

// The width a control's text takes as it is drawn, access-key mark left out.
int TextWidth(const QWidget* control, const QString& text) {
  return control->fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

// Where the style draws a button's text, and what of it would not fit there.
QString ButtonClipped(const QAbstractButton* button, QStyle::SubElement contents) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const QRect room = button->style()->subElementRect(contents, &option, button);
  const int width = TextWidth(button, button->text());
  return width <= room.width() ? QString()
                               : QString("\"%1\" needs %2 px, has %3").arg(button->text()).arg(width).arg(room.width());
}

// Every text control of `window` whose text is cut, or that lies on another or off the window.
std::vector<std::string> ClippedTexts(const QWidget& window) {
  std::vector<std::string> problems;
  std::vector<const QWidget*> controls;
  for (const QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isVisible() || qobject_cast<const QGroupBox*>(child)) continue;
    QString problem;
    if (const auto* label = qobject_cast<const QLabel*>(child)) {
      if (!label->pixmap().isNull()) continue;  // pictures may sit under the frame of a row
      const int width = TextWidth(label, label->text());
      if (width > label->contentsRect().width())
        problem = QString("\"%1\" needs %2 px, has %3").arg(label->text()).arg(width).arg(label->contentsRect().width());
    } else if (const auto* check = qobject_cast<const QCheckBox*>(child)) {
      problem = ButtonClipped(check, QStyle::SE_CheckBoxContents);
    } else if (const auto* button = qobject_cast<const QPushButton*>(child)) {
      if (!button->text().isEmpty()) problem = ButtonClipped(button, QStyle::SE_PushButtonContents);
    } else if (const auto* list = qobject_cast<const QComboBox*>(child)) {
      QStyleOptionComboBox option;
      option.initFrom(list);
      const int room =
          list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width();
      for (int i = 0; i < list->count(); ++i)
        if (TextWidth(list, list->itemText(i)) > room) problem += "\"" + list->itemText(i) + "\" does not fit ";
    } else if (!qobject_cast<const QLineEdit*>(child)) {
      continue;
    }
    if (!problem.isEmpty()) problems.push_back(problem.toStdString());
    if (!window.rect().contains(child->geometry()))
      problems.push_back(child->objectName().toStdString() + " " + child->metaObject()->className() +
                         " reaches beyond the window");
    for (const QWidget* other : controls)
      if (other->geometry().intersects(child->geometry()))
        problems.push_back(std::string(other->metaObject()->className()) + " lies on " +
                           child->metaObject()->className() + " at " + std::to_string(child->x()) + "," +
                           std::to_string(child->y()));
    controls.push_back(child);
  }
  return problems;
}

std::string Listed(const std::vector<std::string>& problems) {
  std::string text;
  for (const std::string& problem : problems) text += "  " + problem + "\n";
  return text;
}

class TextRoom : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = MakeTempFolder();
    m_texts = std::make_unique<LocalizedTexts>(QString::fromStdString(m_folder), "quorvane_gui_tests");
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }
  void Load(const std::string& texts) {
    const std::string path = m_folder + "/texts.lng";
    std::ofstream(path, std::ios::binary) << texts;
    ASSERT_TRUE(m_texts->Table().LoadFromPath(path, false));
  }

  std::string m_folder;
  std::unique_ptr<LocalizedTexts> m_texts;  // the language folder is m_folder
};

struct LanguageCase {
  const char* name;
  std::string texts;  // a language file, or "" for the built-in texts
};
const LanguageCase kLanguages[] = {
    {"built-in texts", ""},
    {"a letter before the URL label's access key", "1=Z&URL:\r\n"},
    {"long texts everywhere", kLongTexts},
};

}  // namespace

// The main window at its start and after a change of language, the settings dialog and the
// About box: each text shown whole, no control on another, all inside the window.
TEST_F(TextRoom, EveryTextOfEveryWindowHasTheRoomItNeeds) {
  for (const LanguageCase& language : kLanguages) {
    if (!language.texts.empty()) Load(language.texts);
    {
      CMainDialog window(TestServices::Get().Settings, TestServices::Get().Profile(), *m_texts,
                         TestServices::Get().Queries());
      window.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
      EXPECT_EQ(ClippedTexts(window), std::vector<std::string>{}) << language.name << ", main window at start\n"
                                                                  << Listed(ClippedTexts(window));
      window.SetControlTexts();
      EXPECT_EQ(ClippedTexts(window), std::vector<std::string>{})
          << language.name << ", main window after a change of language\n"
          << Listed(ClippedTexts(window));
      window.reject();
      EXPECT_TRUE(window.QueryLink()->WaitUntilIdle(3s));
    }
    {
      std::ofstream(m_folder + "/A language file with a long name, as users name them.lng") << "";
      CSettingsDialog dialog(TestServices::Get().Settings, TestServices::Get().Profile(), *m_texts);
      dialog.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      EXPECT_EQ(ClippedTexts(dialog), std::vector<std::string>{}) << language.name << ", settings dialog\n"
                                                                  << Listed(ClippedTexts(dialog));
    }
    {
      CAboutDialog dialog(*m_texts);
      dialog.show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      EXPECT_EQ(ClippedTexts(dialog), std::vector<std::string>{}) << language.name << ", About box\n"
                                                                  << Listed(ClippedTexts(dialog));
    }
  }
}
