#include "desktop/QtProfileStore.h"

#include <QSettings>

#include <optional>

namespace {

QString Key(const std::string& section, const std::string& entry) {
  return QString::fromStdString(section) + "/" + QString::fromStdString(entry);
}

}  // namespace

std::optional<std::int32_t> QtProfileStore::ParseInt32(const QString& text) {
  bool ok = false;
  const qlonglong value = text.trimmed().toLongLong(&ok);
  if (!ok || value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t QtProfileStore::GetProfileInt(const std::string& section, const std::string& entry,
                                           std::int32_t defaultValue) {
  const QSettings settings(m_organisation, m_application);
  const QVariant value = settings.value(Key(section, entry));
  if (!value.isValid()) return defaultValue;
  return ParseInt32(value.toString()).value_or(defaultValue);
}

std::string QtProfileStore::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue) {
  const QSettings settings(m_organisation, m_application);
  const QVariant value = settings.value(Key(section, entry));
  if (!value.isValid() || !value.canConvert<QString>()) return defaultValue;
  return value.toString().toStdString();
}

bool QtProfileStore::WriteProfileInt(const std::string& section, const std::string& entry, std::int32_t value) {
  QSettings settings(m_organisation, m_application);
  settings.setValue(Key(section, entry), value);
  settings.sync();
  return settings.status() == QSettings::NoError;
}

bool QtProfileStore::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value) {
  QSettings settings(m_organisation, m_application);
  settings.setValue(Key(section, entry), QString::fromStdString(value));
  settings.sync();
  return settings.status() == QSettings::NoError;
}
