#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

#include "localisation/CLocalizedDialog.h"

class ProfileStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
struct ProgramSettings;

// The five on/off options, the https option and the language file. The check states are copies: the
// settings change only on OK, which also stores all of them at once.
class CSettingsDialog : public CLocalizedDialog {
  Q_OBJECT
 public:
  enum ControlId : std::uint32_t {
    IDOK = 1,
    IDCANCEL = 2,
    IDC_WATCH_CLIPBOARD = 1004,
    IDC_AUTO_ASK_SIZE = 1005,
    IDC_GROUP_DIGITS = 1006,
    IDC_SINGLE_INSTANCE = 1007,
    IDC_SAVE_WINDOW_POS = 1008,
    IDC_ASK_HTTPS = 1009,
    IDC_ASK_SIZE_OTHER_WAYS = 1010,
    IDC_LANGUAGE_LABEL = 1018,
    IDC_LANGUAGE_LIST = 1019,
  };
  static const ControlTextEntry SettingsTextTable[];
  // Stands for the built-in texts; stored as "<main>".
  static constexpr const char* BuiltInLanguageEntry = "<main> (Russian)";
  // A folder with more names than this is listed only this far: no language folder needs it.
  static constexpr int kMaxLanguageEntries = 4096;

  // The language list shows the files of `texts`' language folder.
  CSettingsDialog(ProgramSettings& settings, ProfileStore& profile, const LocalizedTexts& texts,
                  QWidget* parent = nullptr);

  // The language list: the built-in entry and every name in `folder` that matches "*.lng"
  // (folders too), sorted without regard to case.
  static QStringList LanguageEntries(const QString& folder);
  // The entry that shows `languageFile`: the first whose text begins with it, compared
  // without regard to case; the first entry when none does.
  static int SelectedEntry(const QStringList& entries, const QString& languageFile);

 protected:
  // OK: the check states and the chosen language go into the settings, which are stored.
  void accept() override;

 private:
  void CreateControls();
  void OnInitDialog(const QString& languageFolder);
  void LayOutControls();

  ProgramSettings& m_settings;
  ProfileStore& m_profile;
  QComboBox* LanguageList;
  QCheckBox* m_checkWatchClipboard;
  QCheckBox* m_checkAutoAskSize;
  QCheckBox* m_checkGroupDigits;
  QCheckBox* m_checkSingleInstance;
  QCheckBox* m_checkSaveWindowPos;
  QCheckBox* m_checkAskHttps;
  QCheckBox* m_checkAskSizeOtherWays;
  QLabel* m_labelLanguage;
  QPushButton* m_btnOk;
  QPushButton* m_btnCancel;
};
