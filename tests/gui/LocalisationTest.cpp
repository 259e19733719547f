#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>

#include "TestServers.h"
#include "TestServices.h"
#include "localisation/CLocalizedDialog.h"
#include "localisation/LocalisationLog.h"
#include "desktop/QtProfileStore.h"

namespace {

class TwoControlDialog : public CLocalizedDialog {
 public:
  TwoControlDialog() : CLocalizedDialog(TestServices::Get().Texts()) {
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
    TestServices::Get().Languages().LoadFromPath(m_folder + "/test.lng", false);
  }
  ~WithLanguage() {
    TestServices::Get().Languages().LoadLanguageFile("<main>", true);
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

// The caption's ID is also a control ID: a control registered under it gets the text too.
TEST(ApplyLanguage, TheCaptionRowAlsoSetsAControlRegisteredUnderItsId) {
  class CaptionControlDialog : public CLocalizedDialog {
   public:
    CaptionControlDialog() : CLocalizedDialog(TestServices::Get().Texts()) {
      setWindowTitle("Template caption");
      heading = new QLabel("Template heading", this);
      RegisterControl(ControlTextEntry::kCaption, heading);
    }
    QLabel* heading;
  };
  const ControlTextEntry table[] = {{ControlTextEntry::kCaption, 100}, {0, 0}};
  {
    CaptionControlDialog dialog;
    dialog.ApplyLanguage(table);
    EXPECT_EQ(dialog.windowTitle(), "Template caption");
    EXPECT_EQ(dialog.heading->text(), "Template heading");
  }
  WithLanguage language("100=Caption\r\n");
  CaptionControlDialog dialog;
  dialog.ApplyLanguage(table);
  EXPECT_EQ(dialog.windowTitle(), "Caption");
  EXPECT_EQ(dialog.heading->text(), "Caption");
}

// Language files are looked for in "Language" beside the executable that really runs.
TEST(CLocalizedApp, LoadsBareNamesFromTheLanguageFolderBesideTheExecutable) {
  const auto folder = std::filesystem::canonical("/proc/self/exe").parent_path() / "Language";
  EXPECT_EQ(TestServices::Get().Texts().LanguageFolder().toStdString(), folder.string());

  std::error_code error;
  const bool created = std::filesystem::create_directories(folder, error);
  ASSERT_FALSE(error) << error.message();
  const std::string name = "folder-test-" + std::to_string(getpid()) + ".lng";
  std::ofstream(folder / name, std::ios::binary) << "1=from the folder\r\n";
  const bool loaded = TestServices::Get().App().LoadLanguageFile(name, true);
  const QString text = TestServices::Get().Texts().Text(1, "built-in");
  TestServices::Get().App().LoadLanguageFile("<main>", true);
  std::filesystem::remove(folder / name, error);
  if (created) std::filesystem::remove(folder, error);  // only if empty: another run may use it
  EXPECT_TRUE(loaded);
  EXPECT_EQ(text, "from the folder");
}

namespace {

QStringList g_localisationLines;

void KeepLocalisationLines(QtMsgType, const QMessageLogContext& context, const QString& message) {
  if (context.category && std::string_view(context.category) == "quorvane.localisation") g_localisationLines << message;
}

}  // namespace

// Nobody sees why a language file was refused, so it is logged, when asked for.
TEST(LocalisationLog, SaysWhyALanguageFileWasNotTakenOnlyWhenSwitchedOn) {
  const std::string folder = MakeTempFolder();
  std::filesystem::create_directory(folder + "/folder.lng");
  std::ofstream(folder + "/big.lng") << std::string(LanguageFileReader::kMaxFileBytes + 1, ';');
  LanguageTable& table = TestServices::Get().Languages();
  g_localisationLines.clear();
  const QtMessageHandler previous = qInstallMessageHandler(KeepLocalisationLines);

  if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
    EXPECT_FALSE(lcLocalisation().isInfoEnabled()) << "off by default";
    table.LoadFromPath(folder + "/folder.lng", true);
    EXPECT_TRUE(g_localisationLines.isEmpty()) << g_localisationLines.join("\n").toStdString();
  }

  QLoggingCategory::setFilterRules("quorvane.localisation.info=true");
  struct Case {
    std::string path;
    const char* why;
  };
  const Case cases[] = {
      {folder + "/missing.lng", "cannot be opened - No such file or directory"},
      {folder + "/folder.lng", "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {folder + "/big.lng", "larger than 1 MiB"},
      {"/proc/self/mem", "read error; what came before it is used - Input/output error"},
  };
  for (const auto& c : cases) {
    g_localisationLines.clear();
    table.LoadFromPath(c.path, true);
    EXPECT_EQ(g_localisationLines, QStringList{QString::fromStdString("language file " + c.path + " " + c.why)});
  }
  g_localisationLines.clear();
  std::ofstream(folder + "/good.lng") << "1=x\n";
  EXPECT_TRUE(table.LoadFromPath(folder + "/good.lng", true));
  EXPECT_TRUE(g_localisationLines.isEmpty()) << "a file read to its end is no news";

  QLoggingCategory::setFilterRules(QString());
  qInstallMessageHandler(previous);
  table.LoadLanguageFile("<main>", true);
  std::filesystem::remove_all(folder);
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

// Settings files that QSettings would read for ever or without end give the defaults at
// once, and nothing is written over them.
TEST(QtProfileStore, OnlySmallRegularFilesAreRead) {
  const std::string config = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
  ASSERT_FALSE(config.empty()) << "tests never touch real settings";
  struct Case {
    const char* name;
    std::string path;
    std::function<void(const std::string&)> make;
  };
  const std::string own = config + "/Marrowby/Quorvane.conf";
  const std::string organisations = config + "/Marrowby.conf";
  auto fifo = [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); };
  auto folder = [](const std::string& path) { std::filesystem::create_directory(path); };
  auto tooLarge = [](const std::string& path) {
    std::ofstream(path) << "[Settings]\nLanguageFile=big.lng\n";
    std::filesystem::resize_file(path, QtProfileStore::kMaxFileBytes + 1);
  };
  const Case cases[] = {
      {"a FIFO nobody writes to", own, fifo},
      {"the organisation's file as a FIFO", organisations, fifo},
      {"a folder", own, folder},
      {"a file over the limit", own, tooLarge},
  };
  for (const Case& c : cases) {
    QSettings("Marrowby", "Quorvane").clear();
    std::filesystem::create_directories(config + "/Marrowby");
    std::filesystem::remove_all(own);
    c.make(c.path);
    QtProfileStore store("Marrowby", "Quorvane");
    EXPECT_EQ(store.GetProfileString("Settings", "LanguageFile", "default"), "default") << c.name;
    EXPECT_EQ(store.GetProfileInt("Settings", "xWindowPos", 7), 7) << c.name;
    EXPECT_FALSE(store.WriteProfileInt("Settings", "xWindowPos", 5)) << c.name;
    EXPECT_FALSE(store.WriteProfileString("Settings", "LanguageFile", "x.lng")) << c.name;
    std::filesystem::remove_all(c.path);
  }
  // At the limit the file is still read.
  {
    std::ofstream(own) << "[Settings]\nLanguageFile=at-limit.lng\n";
    std::filesystem::resize_file(own, QtProfileStore::kMaxFileBytes);
    EXPECT_EQ(QtProfileStore("Marrowby", "Quorvane").GetProfileString("Settings", "LanguageFile", ""), "at-limit.lng");
  }
  std::filesystem::remove_all(own);
}
