#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/SmallFile.h"

using LanguageTexts = std::unordered_map<std::uint32_t, std::string>;

// How reading a language file went; when it counts as opened, the texts read replace
// the table.
using LanguageFileStatus = SmallFileStatus;
using LanguageFileRead = SmallFileRead;

// Reads a language file and turns its bytes into texts by string ID.
//
// The bytes are read the way a C runtime reads a text-mode file with a 1024-byte
// buffer: CR LF counts as one line end, and a line longer than 1023 bytes is
// taken in 1023-byte pieces, each handled as a line of its own. Keeping that
// exact behaviour matters: existing language files were written against it.
class LanguageFileReader {
 public:
  static constexpr std::size_t kMaxPiece = 1023;
  // A language file holds a few hundred short texts, a few kilobytes; 1 MiB is far
  // beyond any of them. A longer file is refused as a whole, like one that cannot
  // be opened, rather than read in part: half a language would be worse than the
  // one in use, and such a file is almost surely no language file at all.
  static constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

  static LanguageTexts Parse(std::string_view fileBytes);

  // Reads the file at `path` into `bytes`, as SmallFile reads: a regular file of at most
  // kMaxFileBytes, opened without waiting. Unless the result counts as opened, `bytes` is
  // left empty.
  static LanguageFileRead ReadFile(const std::string& path, std::string& bytes) {
    return SmallFile::Read(path, kMaxFileBytes, bytes);
  }

  // A few words for a log line: "not a regular file", ...
  static const char* Describe(LanguageFileStatus status);

 private:
  static void TakeEntryLine(std::string_view line, LanguageTexts& texts);
  static std::string ExpandLineBreaks(std::string_view text);
};
