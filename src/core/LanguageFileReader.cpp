#include "core/LanguageFileReader.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the next piece as fgets() would in text mode, CR LF already turned into LF.
// Returns false at the end of the bytes.
bool NextPiece(std::string_view bytes, std::size_t& pos, std::string& piece) {
  piece.clear();
  while (pos < bytes.size() && piece.size() < LanguageFileReader::kMaxPiece) {
    char c = bytes[pos++];
    if (c == '\r' && pos < bytes.size() && bytes[pos] == '\n') {
      c = '\n';
      ++pos;
    }
    piece.push_back(c);
    if (c == '\n') break;
  }
  return !piece.empty();
}

// IDs are unsigned 32-bit. A run of digits worth more has no ID: wrapping it around
// would let "4294967297=" overwrite the text of ID 1. Leading zeros cost nothing.
std::optional<std::uint32_t> ReadId(std::string_view line) {
  std::uint64_t id = 0;
  for (char c : line) {
    if (!IsDigit(c)) break;
    id = id * 10u + static_cast<std::uint64_t>(c - '0');
    if (id > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  return static_cast<std::uint32_t>(id);
}

}  // namespace

LanguageTexts LanguageFileReader::Parse(std::string_view fileBytes) {
  LanguageTexts texts;
  std::size_t pos = 0;
  std::string piece;
  while (NextPiece(fileBytes, pos, piece)) {
    // Each piece was a C string in the original reader: an embedded NUL ends it.
    std::string_view line(piece.c_str());
    TakeEntryLine(line, texts);
  }
  return texts;
}

void LanguageFileReader::TakeEntryLine(std::string_view line, LanguageTexts& texts) {
  if (line.size() < 3 || !IsDigit(line.front())) return;
  const auto separator = line.find('=');
  if (separator == std::string_view::npos) return;
  if (line.back() == '\n') line.remove_suffix(1);
  const auto id = ReadId(line);
  if (!id) return;
  const std::string_view text = line.substr(std::min(separator + 1, line.size()));
  texts.insert_or_assign(*id, ExpandLineBreaks(text));
}

std::string LanguageFileReader::ExpandLineBreaks(std::string_view text) {
  std::string expanded;
  expanded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      expanded += "\r\n";
      ++i;
    } else {
      expanded.push_back(text[i]);
    }
  }
  return expanded;
}

const char* LanguageFileReader::Describe(LanguageFileStatus status) {
  switch (status) {
    case LanguageFileStatus::Read: return "read";
    case LanguageFileStatus::ReadError: return "read error; what came before it is used";
    case LanguageFileStatus::CannotOpen: return "cannot be opened";
    case LanguageFileStatus::NotRegularFile: return "not a regular file";
    case LanguageFileStatus::TooLarge:
      static_assert(kMaxFileBytes == std::size_t{1} << 20, "say the new limit here");
      return "larger than 1 MiB";
  }
  return "?";
}
