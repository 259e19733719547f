#include "cli/AddressLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

int AddressLines::Open(const std::string& path) {
  if (path == "-") return STDIN_FILENO;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return -1;
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
    ::close(descriptor);
    errno = error;
    return -1;
  }
  return descriptor;
}

bool AddressLines::Fill() {
  if (m_ended) return false;
  while (true) {
    const ssize_t got = ::read(m_descriptor, m_buffer, sizeof m_buffer);
    if (got > 0) {
      m_begin = 0;
      m_end = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) m_readError = errno;
    m_ended = true;
    return false;
  }
}

bool AddressLines::IsSkipped(const std::string& line) {
  if (line.starts_with('#')) return true;
  return line.find_first_not_of(" \t") == std::string::npos;
}

std::optional<AddressLines::Line> AddressLines::Next() {
  while (true) {
    Line line;
    bool sawAnything = false;
    bool ended = true;
    while (m_begin < m_end || Fill()) {
      sawAnything = true;
      const char* begin = m_buffer + m_begin;
      const char* end = m_buffer + m_end;
      const char* newline = static_cast<const char*>(memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
      const char* stop = newline ? newline : end;
      // One byte over the bound is kept for a CR that may end the line.
      const std::size_t room = kMaxLineBytes + 1 - line.address.size();
      const std::size_t piece = static_cast<std::size_t>(stop - begin);
      line.address.append(begin, piece < room ? piece : room);
      if (piece > room) line.overlong = true;
      m_begin = static_cast<std::size_t>(stop - m_buffer) + (newline ? 1 : 0);
      if (newline) {
        ended = false;
        break;
      }
    }
    if (!sawAnything && ended) return std::nullopt;
    if (!line.overlong && line.address.ends_with('\r')) line.address.pop_back();
    if (line.address.size() > kMaxLineBytes) {
      line.overlong = true;
      line.address.resize(kMaxLineBytes);
    }
    if (line.overlong || !IsSkipped(line.address)) return line;
    if (ended) return std::nullopt;
  }
}
