#include "cli/CliSizeView.h"

#include "core/LanguageTable.h"
#include "query/FileSizeFormat.h"

std::string CliSizeView::OneLine(std::string text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    line.push_back(text[i] == '\r' || text[i] == '\n' ? ' ' : text[i]);
  }
  return line;
}

void CliSizeView::SetStatusText(const std::string& text) {
  m_statusOut << OneLine(text) << std::endl;
}

// Emptying the size box has nothing to show in a terminal.
void CliSizeView::SetSizeText(const std::string& text) {
  if (!text.empty()) m_sizeOut << OneLine(text) << std::endl;
}

void CliSizeView::ShowFileSize(std::uint64_t size) {
  if (m_human)
    m_sizeOut << OneLine(FormatSizeInBothUnits(m_texts.Text(kSizeInBothUnitsId, kSizeInBothUnitsBuiltIn), size,
                                               m_groupDigits))
              << std::endl;
  else
    m_sizeOut << FormatFileSize(size, m_groupDigits) << std::endl;
}
