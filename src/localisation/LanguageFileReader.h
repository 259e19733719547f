#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

using LanguageTexts = std::unordered_map<std::uint32_t, std::string>;

// Turns the bytes of a language file into texts by string ID.
//
// The file is read the way a C runtime reads a text-mode file with a 1024-byte
// buffer: CR LF counts as one line end, and a line longer than 1023 bytes is
// taken in 1023-byte pieces, each handled as a line of its own. Keeping that
// exact behaviour matters: existing language files were written against it.
class LanguageFileReader {
 public:
  static constexpr std::size_t kMaxPiece = 1023;

  static LanguageTexts Parse(std::string_view fileBytes);

 private:
  static void TakeEntryLine(std::string_view line, LanguageTexts& texts);
  static std::string ExpandLineBreaks(std::string_view text);
};
