#pragma once

#include <QString>

#include <memory>
#include <optional>

#include "core/ProductVersion.h"
#include "core/ProfileStore.h"
#include "core/SettingsFileReader.h"

class QSettings;

// Preferences in the user's configuration folder
// (~/.config/<organisation>/<application>.conf), one group per section. The files are
// checked and read once, through one QSettings object, however many values are asked.
class QtProfileStore : public ProfileStore {
 public:
  QtProfileStore(QString organisation, QString application);
  QtProfileStore(QtProfileStore&&) noexcept;
  ~QtProfileStore() override;
  // The program's own settings, whatever the executable is called; the window, its
  // start-up hand-off and the terminal front end share them.
  static QtProfileStore ProgramProfile() { return QtProfileStore(kProductOrganisation, "Quorvane"); }

  std::int32_t GetProfileInt(const std::string& section, const std::string& entry,
                             std::int32_t defaultValue) override;
  std::string GetProfileString(const std::string& section, const std::string& entry,
                               const std::string& defaultValue) override;
  bool WriteProfileInt(const std::string& section, const std::string& entry, std::int32_t value) override;
  bool WriteProfileString(const std::string& section, const std::string& entry,
                          const std::string& value) override;

  // Reads a stored number as a 32-bit value: "4294967295" is -1, like "-1".
  static std::optional<std::int32_t> ParseInt32(const QString& text);

  // A settings file larger than this is not read: eleven values take a few hundred bytes.
  // The plain reader keeps the same bound, so both readers give the same settings.
  static constexpr std::size_t kMaxFileBytes = SettingsFileReader::kMaxFileBytes;

 private:
  bool FilesAreUsable();
  QSettings& Settings();

  QString m_organisation;
  QString m_application;
  std::optional<bool> m_usable;  // once asked
  std::unique_ptr<QSettings> m_settings;  // made on first use
};
