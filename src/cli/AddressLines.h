#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The addresses of a list file, one a line, read as they come: a pipe or a FIFO
// that stays open gives each line as soon as its end has arrived. Blank lines and
// lines that begin with "#" are skipped, and a trailing CR is dropped. A line
// longer than kMaxLineBytes is kept only as far as that bound and marked, so one
// endless line cannot take the memory.
class AddressLines {
 public:
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  struct Line {
    std::string address;
    bool overlong = false;  // the line went on past kMaxLineBytes: no address
  };

  // Reads from `descriptor`, which stays the caller's.
  explicit AddressLines(int descriptor) : m_descriptor(descriptor) {}

  // The next address, or nothing at the end of the input (or at a read error).
  std::optional<Line> Next();
  // The error number that ended the input early, 0 when it simply ended.
  int ReadError() const { return m_readError; }

  // Opens a list file ("-" is standard input) as a descriptor to read from; -1 with
  // errno set when it cannot be read. A folder is refused (EISDIR) at once.
  static int Open(const std::string& path);

 private:
  bool Fill();
  static bool IsSkipped(const std::string& line);

  int m_descriptor;
  char m_buffer[16 * 1024];
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  bool m_ended = false;
  int m_readError = 0;
};
