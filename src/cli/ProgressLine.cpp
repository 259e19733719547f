#include "cli/ProgressLine.h"

#include <unistd.h>

namespace {
constexpr const char* kEraseLine = "\r\033[K";
}

void ProgressLine::Show(std::uint64_t asked, std::uint64_t given, std::uint64_t withoutSize) {
  if (!m_on || given < 2) return;
  m_text = std::to_string(asked) + "/" + std::to_string(given) + " asked, " + std::to_string(withoutSize) +
           " without a size";
  Write(kEraseLine + m_text);
  m_drawn = true;
}

void ProgressLine::Hide() {
  if (!m_drawn) return;
  Write(kEraseLine);
  m_drawn = false;
}

void ProgressLine::Restore() {
  if (!m_on || m_drawn || m_text.empty()) return;
  Write(kEraseLine + m_text);
  m_drawn = true;
}

void ProgressLine::Write(const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
    if (n <= 0) return;  // a terminal that went away takes no progress
    written += static_cast<std::size_t>(n);
  }
}
