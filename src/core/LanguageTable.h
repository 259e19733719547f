#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/LanguageFileReader.h"

// The process's table of replaceable texts.
//
// A reload swaps in a complete new table, so a size query reading texts on its
// own thread sees either the old language or the new one, never a half-built map.
class LanguageTable {
 public:
  // Shown when a language file cannot be opened; fixed and bilingual on purpose,
  // since no language is known to work at that moment.
  static constexpr const char* kMissingFileMessage =
      "Языковой файл не найден!\r\nLanguage file not found!";
  // Selects the built-in texts; names no file.
  static constexpr const char* kBuiltInName = "<main>";

  using MissingFileHandler = std::function<void(const std::string& message)>;
  // Told of every load from a file that did not read cleanly, quiet or not, with the
  // path tried and why; the table itself has nowhere to write it down.
  using LoadProblemHandler = std::function<void(const std::string& path, const LanguageFileRead& read)>;

  LanguageTable();

  // Where bare language file names are looked up (the "Language" folder).
  void SetLanguageFolder(std::string folder);
  void SetMissingFileHandler(MissingFileHandler handler);
  void SetLoadProblemHandler(LoadProblemHandler handler);

  // Loads a bare file name from the language folder, or "<main>" for the built-in texts.
  bool LoadLanguageFile(const std::string& fileName, bool quiet);
  // Loads a file by its path. Anything but a regular file of at most
  // LanguageFileReader::kMaxFileBytes counts as a file that cannot be opened: the
  // table keeps its texts and, unless `quiet`, the missing-file handler is called.
  // A read error ends the file: the texts read up to it replace the table.
  bool LoadFromPath(const std::string& path, bool quiet);

  bool GetString(std::uint32_t id, std::string& text) const;
  // The table's text for `id`, or `builtIn` when it has none.
  std::string Text(std::uint32_t id, const std::string& builtIn) const;

 private:
  std::shared_ptr<const LanguageTexts> Snapshot() const;
  void Replace(LanguageTexts texts);

  mutable std::mutex m_snapshotLock;  // guards the pointer only, never a lookup
  std::shared_ptr<const LanguageTexts> m_texts;
  std::string m_languageFolder;
  MissingFileHandler m_onMissingFile;
  LoadProblemHandler m_onLoadProblem;
};
