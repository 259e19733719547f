#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "core/ProfileStore.h"

// The program's settings read without Qt, for the programs that need a value or two before
// any window exists, or without one (a second start, the terminal front end). It reads the
// files QSettings would read for an organisation and an application, in QSettings' order (the
// application's file, then the organisation's), with the same bounds (a file that is not a
// regular one of at most kMaxFileBytes means the defaults) and the same 32-bit numbers.
//
// Only what QSettings itself writes plainly is read here: a value QSettings quotes or escapes
// ("…", \, @Variant), a list, a key or a [Settings] group that appears twice, a multi-line
// value, an escaped key, a line too long, files in the system's configuration folders, or a
// configuration folder that cannot be told: for those Read gives nothing, and the caller asks
// Qt's own reader.
class SettingsFileReader final : public ProfileStore {
 public:
  static constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

  // The settings as QSettings(organisation, application) would give them, or nothing when
  // only QSettings can tell.
  static std::optional<SettingsFileReader> Read(const std::string& organisation, const std::string& application);
  // No values at all: every one its default.
  static SettingsFileReader Defaults() { return SettingsFileReader({}); }
  // The same for the bytes of one file (the application's); for tests and the reader itself.
  static std::optional<std::map<std::string, std::string>> ParsePlain(const std::string& bytes);

  std::int32_t GetProfileInt(const std::string& section, const std::string& entry,
                             std::int32_t defaultValue) override;
  std::string GetProfileString(const std::string& section, const std::string& entry,
                               const std::string& defaultValue) override;
  // Read only: nothing is written.
  bool WriteProfileInt(const std::string&, const std::string&, std::int32_t) override { return false; }
  bool WriteProfileString(const std::string&, const std::string&, const std::string&) override { return false; }

  // A stored number as a 32-bit value, as QSettings' text is read: blanks around it allowed,
  // "4294967295" is -1 like "-1"; anything else is none.
  static std::optional<std::int32_t> ParseInt32(const std::string& text);

 private:
  explicit SettingsFileReader(std::map<std::string, std::string> values) : m_values(std::move(values)) {}
  const std::string* Value(const std::string& section, const std::string& entry) const;

  std::map<std::string, std::string> m_values;  // "section/entry" -> value
};
