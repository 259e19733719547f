#include "core/DesktopEntry.h"

#include <string_view>

#include "core/SmallFile.h"

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

std::string Unescaped(std::string_view value) {
  std::string result;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      result += value[i];
      continue;
    }
    switch (value[++i]) {
      case 's': result += ' '; break;
      case 'n': result += '\n'; break;
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case '\\': result += '\\'; break;
      default:  // not a string escape: left for the command's own quoting
        result += '\\';
        result += value[i];
    }
  }
  return result;
}

}  // namespace

std::optional<std::string> DesktopEntryExec(const std::string& text) {
  std::string_view rest(text);
  bool inMainGroup = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = Trimmed(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inMainGroup = line == "[Desktop Entry]";
      continue;
    }
    if (!inMainGroup) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || Trimmed(line.substr(0, equals)) != "Exec") continue;
    std::string command = Unescaped(Trimmed(line.substr(equals + 1)));
    if (Trimmed(command).empty()) return std::nullopt;
    return command;
  }
  return std::nullopt;
}

bool IsDesktopFileId(const std::string& id) {
  constexpr std::string_view kSuffix = ".desktop";
  if (id.size() <= kSuffix.size() || id.size() > 255) return false;
  if (id.compare(id.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) return false;
  if (id.front() == '.' || id.front() == '-') return false;
  for (const unsigned char c : id)
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
  return true;
}

std::optional<std::string> ReadDesktopEntryExec(const std::string& path) {
  std::string bytes;
  // A desktop entry is a few hundred bytes; 1 MiB is far beyond any.
  if (!SmallFile::Read(path, std::size_t{1} << 20, bytes).Opened()) return std::nullopt;
  return DesktopEntryExec(bytes);
}
