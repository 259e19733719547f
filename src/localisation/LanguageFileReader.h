#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

using LanguageTexts = std::unordered_map<std::uint32_t, std::string>;

// How reading a language file went.
enum class LanguageFileStatus {
  Read,            // read to its end
  ReadError,       // a read failed; what came before counts, as if the file had ended there
  CannotOpen,      // missing, no access, no such folder, ...
  NotRegularFile,  // a folder, FIFO, device or socket: nothing to read texts from
  TooLarge,        // longer than LanguageFileReader::kMaxFileBytes
};

struct LanguageFileRead {
  LanguageFileStatus status = LanguageFileStatus::Read;
  int error = 0;  // errno for CannotOpen and ReadError, else 0

  // Read and ReadError count as opened: the texts read replace the table.
  bool Opened() const { return status == LanguageFileStatus::Read || status == LanguageFileStatus::ReadError; }
};

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

  // Reads the file at `path` into `bytes`. Only a regular file is read; the open never
  // blocks (a FIFO without a writer, a device) and never waits on what it opened.
  // Unless the result counts as opened, `bytes` is left empty.
  static LanguageFileRead ReadFile(const std::string& path, std::string& bytes);
  // The same for a descriptor already open; it stays open.
  static LanguageFileRead ReadOpenFile(int fd, std::string& bytes);

  // A few words for a log line: "not a regular file", ...
  static const char* Describe(LanguageFileStatus status);

 private:
  static void TakeEntryLine(std::string_view line, LanguageTexts& texts);
  static std::string ExpandLineBreaks(std::string_view text);
};
