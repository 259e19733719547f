#include "core/LanguageTable.h"


LanguageTable::LanguageTable() : m_texts(std::make_shared<const LanguageTexts>()) {}

void LanguageTable::SetLanguageFolder(std::string folder) { m_languageFolder = std::move(folder); }

void LanguageTable::SetMissingFileHandler(MissingFileHandler handler) {
  m_onMissingFile = std::move(handler);
}

void LanguageTable::SetLoadProblemHandler(LoadProblemHandler handler) { m_onLoadProblem = std::move(handler); }

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
  std::string bytes;
  const LanguageFileRead read = LanguageFileReader::ReadFile(path, bytes);
  if (read.status != LanguageFileStatus::Read && m_onLoadProblem) m_onLoadProblem(path, read);
  if (!read.Opened()) {
    if (!quiet && m_onMissingFile) m_onMissingFile(kMissingFileMessage);
    return false;
  }
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
