#include "localisation/LanguageFileReader.h"

#include <limits>

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

// IDs are unsigned 32-bit. A longer run of digits wraps around instead of being
// refused: no text is ever looked up under such an ID, so the line is harmless.
std::uint32_t ReadId(std::string_view line) {
  std::uint32_t id = 0;
  for (char c : line) {
    if (!IsDigit(c)) break;
    id = id * 10u + static_cast<std::uint32_t>(c - '0');
  }
  return id;
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
  const std::string_view text = line.substr(std::min(separator + 1, line.size()));
  texts.insert_or_assign(ReadId(line), ExpandLineBreaks(text));
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
