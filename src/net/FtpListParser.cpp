#include "net/FtpListParser.h"

#include <array>
#include <charconv>
#include <vector>

namespace {

struct Token {
  std::string_view text;
  std::size_t end = 0;  // offset just past the token in the line
};

std::vector<Token> SplitBlanks(std::string_view line, std::size_t maxTokens) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (tokens.size() < maxTokens) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size()) break;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
    tokens.push_back({line.substr(start, pos - start), pos});
  }
  return tokens;
}

std::string_view RestAfter(std::string_view line, std::size_t offset) {
  while (offset < line.size() && (line[offset] == ' ' || line[offset] == '\t')) ++offset;
  return line.substr(std::min(offset, line.size()));
}

bool IsNumber(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::optional<std::uint64_t> ToNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (!IsNumber(text) || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsMonth(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
  if (text.size() != 3) return false;
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (auto month : kMonths)
    if (lower == month) return true;
  return false;
}

// The day of a date: 1 to 31, one or two digits.
bool IsDay(std::string_view text) {
  const auto day = ToNumber(text);
  return text.size() <= 2 && day && *day >= 1 && *day <= 31;
}

// "6:59", "06:59", "06:59:02" (a recent file), or "2020" (an older one).
bool IsTimeOrYear(std::string_view text) {
  if (text.size() == 4 && IsNumber(text)) return true;
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || colon < 1 || colon > 2 || !IsNumber(text.substr(0, colon))) return false;
  const std::string_view minutes = text.substr(colon + 1);
  if (minutes.size() == 2) return IsNumber(minutes);
  return minutes.size() == 5 && IsNumber(minutes.substr(0, 2)) && minutes[2] == ':' && IsNumber(minutes.substr(3));
}

bool IsUnixMode(std::string_view text) {
  static constexpr std::string_view kTypes = "-dlbcpsDn";
  return text.size() >= 10 && kTypes.find(text[0]) != std::string_view::npos;
}

// "01-16-02" or "01-16-2002"
bool IsDosDate(std::string_view text) {
  return (text.size() == 8 || text.size() == 10) && IsNumber(text.substr(0, 2)) && text[2] == '-' &&
         IsNumber(text.substr(3, 2)) && text[5] == '-' && IsNumber(text.substr(6));
}

// "11:14AM", "23:05"
bool IsDosTime(std::string_view text) {
  const auto colon = text.find(':');
  return colon != std::string_view::npos && colon > 0 && IsNumber(text.substr(0, colon)) &&
         text.size() >= colon + 3 && IsNumber(text.substr(colon + 1, 2));
}

}  // namespace

std::optional<FtpListEntry> FtpListParser::ParseLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  if (line.empty()) return std::nullopt;
  if (line.front() == '+') return ParseEplf(line);
  const auto first = SplitBlanks(line, 1);
  if (first.empty()) return std::nullopt;  // blanks only
  if (IsUnixMode(first.front().text)) return ParseUnix(line);
  return ParseDos(line);
}

// -rw-r--r--   1 owner group   1234 Jan  1 12:00 name
// -rw-r--r--   1 owner   1234 Jan  1  2020 name
// The size is the number right before the date, and the date is a month, a day
// and a time or a year. Owner and group may be named like months ("jan", even
// followed by a numeric group that looks like a day), so the date is looked for
// first where the two layouts put it (the sixth column with a group, the fifth
// without: in the group-less layout the sixth column is the day, never a month),
// and only then anywhere else (listings without a link count, device files).
std::optional<FtpListEntry> FtpListParser::ParseUnix(std::string_view line) {
  const auto tokens = SplitBlanks(line, 9);
  const auto entryAt = [&](std::size_t month) -> std::optional<FtpListEntry> {
    if (month < 2 || month + 3 > tokens.size()) return std::nullopt;
    if (!IsMonth(tokens[month].text) || !IsDay(tokens[month + 1].text) || !IsTimeOrYear(tokens[month + 2].text))
      return std::nullopt;
    const auto size = ToNumber(tokens[month - 1].text);
    if (!size) return std::nullopt;
    const std::string_view name = RestAfter(line, tokens[month + 2].end);
    if (name.empty()) return std::nullopt;
    return FtpListEntry{std::string(name), *size, tokens[0].text[0] == 'd'};
  };
  for (std::size_t month : {std::size_t{5}, std::size_t{4}})
    if (auto entry = entryAt(month)) return entry;
  for (std::size_t month = 2; month + 2 < tokens.size(); ++month)
    if (auto entry = entryAt(month)) return entry;
  return std::nullopt;
}

// 01-16-02  11:14AM       <DIR>          epsgroup
// 01-16-02  11:14AM                 1234 file.txt
std::optional<FtpListEntry> FtpListParser::ParseDos(std::string_view line) {
  const auto tokens = SplitBlanks(line, 3);
  if (tokens.size() < 3 || !IsDosDate(tokens[0].text) || !IsDosTime(tokens[1].text)) return std::nullopt;
  const std::string_view name = RestAfter(line, tokens[2].end);
  if (name.empty()) return std::nullopt;
  if (tokens[2].text == "<DIR>") return FtpListEntry{std::string(name), 0, true};
  const auto size = ToNumber(tokens[2].text);
  if (!size) return std::nullopt;
  return FtpListEntry{std::string(name), *size, false};
}

// +i8388621.44468,m839956783,r,s10376,\tRFCEPLF
std::optional<FtpListEntry> FtpListParser::ParseEplf(std::string_view line) {
  const auto tab = line.find('\t');
  if (tab == std::string_view::npos || tab + 1 >= line.size()) return std::nullopt;
  FtpListEntry entry;
  entry.name = std::string(line.substr(tab + 1));
  std::string_view facts = line.substr(1, tab - 1);
  while (!facts.empty()) {
    const auto comma = facts.find(',');
    const std::string_view fact = facts.substr(0, comma);
    if (fact == "/") entry.isDirectory = true;
    if (fact.size() > 1 && fact.front() == 's') {
      const auto size = ToNumber(fact.substr(1));
      if (!size) return std::nullopt;
      entry.size = *size;
    }
    if (comma == std::string_view::npos) break;
    facts.remove_prefix(comma + 1);
  }
  return entry;
}
