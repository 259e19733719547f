#include "localisation/LanguageTable.h"

#include <filesystem>
#include <fstream>
#include <iterator>

LanguageTable::LanguageTable() : m_texts(std::make_shared<const LanguageTexts>()) {}

void LanguageTable::SetLanguageFolder(std::string folder) { m_languageFolder = std::move(folder); }

void LanguageTable::SetMissingFileHandler(MissingFileHandler handler) {
  m_onMissingFile = std::move(handler);
}

bool LanguageTable::LoadLanguageFile(const std::string& fileName, bool quiet) {
  if (fileName == kBuiltInName) {
    Replace({});
    return true;
  }
  std::string path = m_languageFolder;
  if (!path.empty() && path.back() != '/') path += '/';
  return LoadFromPath(path + fileName, quiet);
}

bool LanguageTable::LoadFromPath(const std::string& path, bool quiet) {
  // A folder opens as a stream here, yet it is no file to read texts from.
  std::error_code error;
  const bool isFolder = std::filesystem::is_directory(path, error);
  std::ifstream file(path, std::ios::binary);
  if (isFolder || !file.is_open()) {
    if (!quiet && m_onMissingFile) m_onMissingFile(kMissingFileMessage);
    return false;
  }
  // A read error ends the reading like the end of the file: what was read counts.
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  Replace(LanguageFileReader::Parse(bytes));
  return true;
}

bool LanguageTable::GetString(std::uint32_t id, std::string& text) const {
  const auto texts = Snapshot();
  const auto found = texts->find(id);
  if (found == texts->end()) return false;
  text = found->second;
  return true;
}

std::string LanguageTable::Text(std::uint32_t id, const std::string& builtIn) const {
  std::string text = builtIn;
  GetString(id, text);
  return text;
}

std::shared_ptr<const LanguageTexts> LanguageTable::Snapshot() const {
  std::lock_guard lock(m_snapshotLock);
  return m_texts;
}

void LanguageTable::Replace(LanguageTexts texts) {
  auto fresh = std::make_shared<const LanguageTexts>(std::move(texts));
  std::lock_guard lock(m_snapshotLock);
  m_texts = std::move(fresh);
}
