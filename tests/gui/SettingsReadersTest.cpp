#include <gtest/gtest.h>

#include <QSettings>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "TestServers.h"
#include "core/SettingsFileReader.h"
#include "core/SettingsForReading.h"
#include "desktop/QtProfileStore.h"

namespace {

// Points the user's configuration folder at a fresh one for as long as it lives.
class OwnConfigFolder {
 public:
  OwnConfigFolder() : m_folder(MakeTempFolder()), m_saved(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_folder));
  }
  ~OwnConfigFolder() {
    qputenv("XDG_CONFIG_HOME", m_saved);
    std::filesystem::remove_all(m_folder);
  }
  const std::string& Path() const { return m_folder; }

 private:
  std::string m_folder;
  QByteArray m_saved;
};

// The program's settings file in the tests' configuration folder. QSettings takes the folder
// once per process, so every case uses this one file, made anew, with a time of its own so
// that QSettings reads it again.
std::string SettingsFile() {
  return qEnvironmentVariable("XDG_CONFIG_HOME").toStdString() + "/" + kProductOrganisation + "/Quorvane.conf";
}

void Rewrite(const std::string& bytes, int caseNumber) {
  std::filesystem::create_directories(std::filesystem::path(SettingsFile()).parent_path());
  std::ofstream(SettingsFile(), std::ios::binary | std::ios::trunc) << bytes;
  std::filesystem::last_write_time(SettingsFile(), std::filesystem::file_time_type::clock::now() +
                                                       std::chrono::hours(1 + caseNumber));
}

// Leaves the settings empty for the tests after it.
struct EmptiedAfterwards {
  ~EmptiedAfterwards() {
    QSettings settings(kProductOrganisation, "Quorvane");
    settings.clear();
    settings.sync();
  }
};

struct Written {
  const char* entry;
  std::string text;  // written as a string, read back as a string and as a number
};

}  // namespace

// Settings files as QSettings itself writes them read the same through the plain reader as
// through Qt's, value by value; what the plain reader cannot read exactly it leaves to Qt.
TEST(SettingsReaders, ReadWhatQSettingsWroteAsQSettingsReadsIt) {
  struct Case {
    const char* name;
    std::vector<Written> values;
    bool plain;  // read without Qt
  };
  const Case cases[] = {
      {"the defaults as the window writes them", {{"LanguageFile", "QVN_eng.lng"}, {"SingleInstance", "1"}}, true},
      {"the built-in texts", {{"LanguageFile", "<main>"}}, true},
      {"a name with blanks and letters beyond ASCII", {{"LanguageFile", "Русский язык.lng"}}, true},
      {"a comma: quoted", {{"LanguageFile", "one, two.lng"}}, false},
      {"quotes and a backslash: escaped", {{"LanguageFile", "say \"hi\" \\ there.lng"}}, false},
      {"blanks around: quoted", {{"LanguageFile", " padded.lng "}}, false},
      {"an at sign first: escaped", {{"LanguageFile", "@Variant(x)"}}, false},
      {"numbers in and out of 32 bits",
       {{"xWindowPos", "-50"}, {"yWindowPos", "4294967295"}, {"TopmostWindow", "99999999999"}, {"GroupDigits", "x"}},
       true},
      {"an empty value", {{"LanguageFile", ""}}, true},
  };
  const EmptiedAfterwards emptied;
  for (const Case& c : cases) {
    Rewrite("", static_cast<int>(&c - cases));
    {
      QtProfileStore writer = QtProfileStore::ProgramProfile();
      for (const Written& value : c.values) writer.WriteProfileString("Settings", value.entry, value.text);
    }
    QtProfileStore qt = QtProfileStore::ProgramProfile();
    auto plain = SettingsFileReader::Read(kProductOrganisation, "Quorvane");
    EXPECT_EQ(plain.has_value(), c.plain) << c.name;
    const auto forReading = OpenSettingsForReading(QUORVANE_QT_SETTINGS_MODULE_PATH);
    for (const Written& value : c.values) {
      const std::string expected = qt.GetProfileString("Settings", value.entry, "default");
      EXPECT_EQ(forReading->GetProfileString("Settings", value.entry, "default"), expected) << c.name;
      EXPECT_EQ(forReading->GetProfileInt("Settings", value.entry, 7), qt.GetProfileInt("Settings", value.entry, 7))
          << c.name << " " << value.entry;
      if (plain) EXPECT_EQ(plain->GetProfileString("Settings", value.entry, "default"), expected) << c.name;
    }
    EXPECT_EQ(forReading->GetProfileString("Settings", "Absent", "default"), "default") << c.name;
  }
}

// Files QSettings reads in its own way, written by hand: left to Qt, or the defaults where
// the Qt store itself gives them.
TEST(SettingsReaders, FilesOnlyQtReadsExactlyAreLeftToIt) {
  struct Case {
    const char* name;
    std::string file;
    std::optional<std::string> plainLanguage;  // nothing: left to Qt
  };
  const Case cases[] = {
      {"a key twice", "[Settings]\nLanguageFile=a.lng\nLanguageFile=b.lng\n", std::nullopt},
      {"the group twice", "[Settings]\nLanguageFile=a.lng\n[Other]\nX=1\n[Settings]\nSingleInstance=0\n",
       std::nullopt},
      {"a value that runs on to the next line", "[Settings]\nLanguageFile=a.lng\n  b.lng\n", std::nullopt},
      {"an escaped key", "[Settings]\nLanguageFil%65=a.lng\n", std::nullopt},
      {"a comment", "; a comment\n[Settings]\nLanguageFile=a.lng\n", std::nullopt},
      {"plain", "[Settings]\nLanguageFile = a.lng\n", "a.lng"},
  };
  const EmptiedAfterwards emptied;
  for (const Case& c : cases) {
    Rewrite(c.file, 100 + static_cast<int>(&c - cases));
    auto plain = SettingsFileReader::Read(kProductOrganisation, "Quorvane");
    EXPECT_EQ(plain.has_value(), c.plainLanguage.has_value()) << c.name;
    if (plain && c.plainLanguage) EXPECT_EQ(plain->GetProfileString("Settings", "LanguageFile", ""), *c.plainLanguage);
    QtProfileStore qt = QtProfileStore::ProgramProfile();
    EXPECT_EQ(OpenSettingsForReading(QUORVANE_QT_SETTINGS_MODULE_PATH)->GetProfileString("Settings", "LanguageFile", "-"),
              qt.GetProfileString("Settings", "LanguageFile", "-"))
        << c.name;
  }
}

// A settings file that is a FIFO gives the defaults at once, as the Qt store does (the plain
// reader takes the configuration folder anew each time, so it can have one of its own).
TEST(SettingsReaders, AFileThatCouldHoldTheReaderGivesTheDefaults) {
  OwnConfigFolder config;
  const std::string folder = config.Path() + "/" + kProductOrganisation;
  std::filesystem::create_directories(folder);
  ASSERT_EQ(mkfifo((folder + "/Quorvane.conf").c_str(), 0600), 0);
  const auto plain = SettingsFileReader::Read(kProductOrganisation, "Quorvane");
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(SettingsFileReader(*plain).GetProfileString("Settings", "LanguageFile", "default"), "default");
}
