#include "desktop/QtProfileStore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <optional>

#include "core/SettingsFileReader.h"
#include "core/SmallFile.h"
#include "desktop/DesktopLog.h"

namespace {

QString Key(const std::string& section, const std::string& entry) {
  return QString::fromStdString(section) + "/" + QString::fromStdString(entry);
}

// Writes one value at once, so a crash later loses nothing; a failure is not the user's
// concern at that moment, but it is logged.
bool Write(QSettings& settings, const QString& key, const QVariant& value) {
  settings.setValue(key, value);
  settings.sync();
  if (settings.status() == QSettings::NoError) return true;
  qCInfo(lcDesktop) << "cannot write" << key << "to" << settings.fileName();
  return false;
}

}  // namespace

// QSettings reads a whole file whatever it is: a FIFO would hold the start for ever and an
// endless file would fill the memory. So the user's own files (the program's and the
// organisation's, which QSettings reads as well) must be absent or small regular files;
// otherwise the settings are the defaults and nothing is written over them.
QtProfileStore::QtProfileStore(QString organisation, QString application)
    : m_organisation(std::move(organisation)), m_application(std::move(application)) {}

QtProfileStore::QtProfileStore(QtProfileStore&&) noexcept = default;
QtProfileStore::~QtProfileStore() = default;

QSettings& QtProfileStore::Settings() {
  if (!m_settings) m_settings = std::make_unique<QSettings>(m_organisation, m_application);
  return *m_settings;
}

bool QtProfileStore::FilesAreUsable() {
  if (m_usable) return *m_usable;
  m_usable = true;
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  for (const QString& path :
       {folder + "/" + m_organisation + "/" + m_application + ".conf", folder + "/" + m_organisation + ".conf"}) {
    if (!SmallFile::AbsentOrFits(QFile::encodeName(path).toStdString(), kMaxFileBytes)) {
      qCInfo(lcDesktop) << "settings file" << path << "is not a regular file of at most" << kMaxFileBytes
                        << "bytes; the defaults are used";
      m_usable = false;
    }
  }
  return *m_usable;
}

std::optional<std::int32_t> QtProfileStore::ParseInt32(const QString& text) {
  return SettingsFileReader::ParseInt32(text.toStdString());
}

std::int32_t QtProfileStore::GetProfileInt(const std::string& section, const std::string& entry,
                                           std::int32_t defaultValue) {
  if (!FilesAreUsable()) return defaultValue;
  const QVariant value = Settings().value(Key(section, entry));
  if (!value.isValid()) return defaultValue;
  return ParseInt32(value.toString()).value_or(defaultValue);
}

std::string QtProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue) {
  if (!FilesAreUsable()) return defaultValue;
  const QVariant value = Settings().value(Key(section, entry));
  if (!value.isValid() || !value.canConvert<QString>()) return defaultValue;
  return value.toString().toStdString();
}

bool QtProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, std::int32_t value) {
  if (!FilesAreUsable()) return false;
  return Write(Settings(), Key(section, entry), value);
}

bool QtProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value) {
  if (!FilesAreUsable()) return false;
  return Write(Settings(), Key(section, entry), QString::fromStdString(value));
}
