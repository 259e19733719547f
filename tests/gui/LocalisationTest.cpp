#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSettings>

#include <filesystem>
#include <fstream>

#include "TestServers.h"
#include "app/CMainApp.h"
#include "localisation/CLocalizedDialog.h"
#include "desktop/QtProfileStore.h"

namespace {

class TwoControlDialog : public CLocalizedDialog {
 public:
  TwoControlDialog() {
    setWindowTitle("Template caption");
    label = new QLabel("&Label", this);
    check = new QCheckBox("&Check", this);
    RegisterControl(10, label);
    RegisterControl(11, check);
  }
  QLabel* label;
  QCheckBox* check;
};

// Loads language texts from bytes, as a language file would give them.
class WithLanguage {
 public:
  explicit WithLanguage(const std::string& bytes) : m_folder(MakeTempFolder()) {
    std::ofstream(m_folder + "/test.lng", std::ios::binary) << bytes;
    CMainApp::Current()->Languages().LoadFromPath(m_folder + "/test.lng", false);
  }
  ~WithLanguage() {
    CMainApp::Current()->Languages().LoadLanguageFile("<main>", true);
    std::filesystem::remove_all(m_folder);
  }

 private:
  std::string m_folder;
};

}  // namespace

TEST(ApplyLanguage, SetsOnlyTheTextsTheTableHas) {
  const ControlTextEntry table[] = {{ControlTextEntry::kCaption, 100}, {10, 1}, {11, 2}, {99, 3}, {0, 0}};
  {
    TwoControlDialog dialog;
    dialog.ApplyLanguage(table);
    dialog.ApplyLanguage(nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Template caption") << "an empty language table changes nothing";
    EXPECT_EQ(dialog.label->text(), "&Label");
  }
  WithLanguage language("100=Caption\r\n1=Line one\\nLine two\r\n3=for no control\r\n");
  TwoControlDialog dialog;
  dialog.ApplyLanguage(table);
  dialog.ApplyLanguage(table);
  EXPECT_EQ(dialog.windowTitle(), "Caption");
  EXPECT_EQ(dialog.label->text(), "Line one\nLine two");
  EXPECT_EQ(dialog.check->text(), "&Check") << "no text for string 2: the template's stays";

  const ControlTextEntry endsFirst[] = {{0, 1}, {10, 1}};
  TwoControlDialog untouched;
  untouched.ApplyLanguage(endsFirst);
  EXPECT_EQ(untouched.label->text(), "&Label");
}

TEST(ApplyLanguage, AnEmptyTextEmptiesTheControl) {
  WithLanguage language("1=\r\n");
  const ControlTextEntry table[] = {{10, 1}, {0, 0}};
  TwoControlDialog dialog;
  dialog.ApplyLanguage(table);
  EXPECT_EQ(dialog.label->text(), "");
}

TEST(QtProfileStore, ReadsNumbersAs32BitValues) {
  struct Case {
    const char* stored;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {{"5", 5},         {"-1", -1},           {"4294967295", -1}, {"2147483648", INT32_MIN},
                        {" 12 ", 12},     {"4294967296", {}},   {"abc", {}},        {"", {}},
                        {"-2147483649", {}}};
  for (const auto& c : cases) EXPECT_EQ(QtProfileStore::ParseInt32(c.stored), c.value) << c.stored;
}

TEST(QtProfileStore, SettingsRoundTripThroughTheUsersConfigFile) {
  QSettings raw("Marrowby", "Quorvane");
  raw.clear();
  raw.setValue("Settings/TopmostWindow", "5");
  raw.setValue("Settings/xWindowPos", "4294967295");
  raw.setValue("Settings/yWindowPos", "garbage");
  raw.setValue("Settings/GroupDigits", 0);
  raw.sync();
  EXPECT_TRUE(raw.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME"))) << "tests never touch real settings";
  EXPECT_TRUE(raw.fileName().endsWith("Marrowby/Quorvane.conf"));

  QtProfileStore store("Marrowby", "Quorvane");
  ProgramSettings settings;
  settings.Load(store);
  EXPECT_TRUE(settings.TopmostWindow);
  EXPECT_FALSE(settings.GroupDigits);
  EXPECT_EQ(settings.xWindowPos, -1);
  EXPECT_EQ(settings.yWindowPos, -1);
  settings.LanguageFile = "<main>";
  settings.Save(store);

  QSettings reread("Marrowby", "Quorvane");
  EXPECT_EQ(reread.value("Settings/TopmostWindow").toString(), "1");
  EXPECT_EQ(reread.value("Settings/LanguageFile").toString(), "<main>");
  raw.clear();
}
