#include "core/SettingsFileReader.h"

#include <ini.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <sstream>

#include "core/SmallFile.h"

namespace {

struct Parsed {
  std::map<std::string, std::string> values;
  std::set<std::string> sections;
  std::string lastSection;
  bool plain = true;
};

// Called by inih for every value, with the group it is in.
int TakeValue(void* user, const char* section, const char* name, const char* value) {
  auto& parsed = *static_cast<Parsed*>(user);
  const std::string group = section;
  // A group that starts again is a second group of that name to QSettings.
  if (group != parsed.lastSection && !parsed.sections.insert(group).second) parsed.plain = false;
  parsed.lastSection = group;
  const std::string key = group + "/" + name;
  // A key that comes again (or a value that runs on to the next line) is QSettings' to read.
  if (!parsed.values.emplace(key, value).second) parsed.plain = false;
  const std::string text = name;
  if (text.find('%') != std::string::npos) parsed.plain = false;  // an escaped key
  return 1;
}

// Bytes that QSettings writes only for values it quotes, escapes or types, or that it reads
// other than as plain text (a comma makes a list).
bool HasUnplainBytes(const std::string& bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  // QSettings writes no comments either, so ";" and "#" are left to it as well.
  return bytes.find_first_of("\"\\@,;#") != std::string::npos;
}

bool Exists(const std::string& path) {
  struct stat about {};
  return stat(path.c_str(), &about) == 0 || errno != ENOENT;
}

// The system's configuration folders, where QSettings also looks for fallbacks.
bool SystemFilesExist(const std::string& organisation, const std::string& application) {
  std::string folders = "/etc/xdg";
  if (const char* dirs = std::getenv("XDG_CONFIG_DIRS"); dirs && *dirs) folders += std::string(":") + dirs;
  std::istringstream list(folders);
  for (std::string folder; std::getline(list, folder, ':');) {
    if (folder.empty()) continue;
    if (Exists(folder + "/" + organisation + "/" + application + ".conf") ||
        Exists(folder + "/" + organisation + ".conf"))
      return true;
  }
  return false;
}

// The user's configuration folder as QStandardPaths tells it, if it can be told plainly.
std::optional<std::string> UserConfigFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    return config[0] == '/' ? std::optional<std::string>(config) : std::nullopt;
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return std::nullopt;
  return std::string(home) + "/.config";
}

}  // namespace

std::optional<std::map<std::string, std::string>> SettingsFileReader::ParsePlain(const std::string& bytes) {
  if (HasUnplainBytes(bytes) || bytes.find('\0') != std::string::npos) return std::nullopt;
  Parsed parsed;
  if (ini_parse_string(bytes.c_str(), &TakeValue, &parsed) != 0 || !parsed.plain) return std::nullopt;
  return parsed.values;
}

std::optional<SettingsFileReader> SettingsFileReader::Read(const std::string& organisation,
                                                           const std::string& application) {
  const auto folder = UserConfigFolder();
  if (!folder || SystemFilesExist(organisation, application)) return std::nullopt;
  std::map<std::string, std::string> values;
  // The application's file first: its values stand over the organisation's.
  for (const std::string& path :
       {*folder + "/" + organisation + "/" + application + ".conf", *folder + "/" + organisation + ".conf"}) {
    std::string bytes;
    const SmallFileRead read = SmallFile::Read(path, kMaxFileBytes, bytes);
    if (read.status == SmallFileStatus::CannotOpen) continue;  // absent: nothing to read
    // As the Qt store does: a file that could hold or flood a reader means the defaults.
    if (read.status == SmallFileStatus::NotRegularFile || read.status == SmallFileStatus::TooLarge)
      return SettingsFileReader({});
    if (read.status == SmallFileStatus::ReadError) return std::nullopt;
    const auto parsed = ParsePlain(bytes);
    if (!parsed) return std::nullopt;
    values.insert(parsed->begin(), parsed->end());
  }
  return SettingsFileReader(std::move(values));
}

std::optional<std::int32_t> SettingsFileReader::ParseInt32(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(" \t\r\n\v\f");
  if (begin == std::string::npos) return std::nullopt;
  const std::size_t end = text.find_last_not_of(" \t\r\n\v\f") + 1;
  const std::string number = text.substr(begin, end - begin);
  errno = 0;
  char* stop = nullptr;
  const long long value = std::strtoll(number.c_str(), &stop, 10);
  if (errno != 0 || stop != number.c_str() + number.size()) return std::nullopt;
  if (value < INT32_MIN || value > static_cast<long long>(UINT32_MAX)) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

const std::string* SettingsFileReader::Value(const std::string& section, const std::string& entry) const {
  const auto found = m_values.find(section + "/" + entry);
  return found == m_values.end() ? nullptr : &found->second;
}

std::int32_t SettingsFileReader::GetProfileInt(const std::string& section, const std::string& entry,
                                               std::int32_t defaultValue) {
  const std::string* value = Value(section, entry);
  return value ? ParseInt32(*value).value_or(defaultValue) : defaultValue;
}

std::string SettingsFileReader::GetProfileString(const std::string& section, const std::string& entry,
                                                 const std::string& defaultValue) {
  const std::string* value = Value(section, entry);
  return value ? *value : defaultValue;
}
