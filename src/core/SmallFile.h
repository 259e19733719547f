#pragma once

#include <cstddef>
#include <string>

// How reading a small file went.
enum class SmallFileStatus {
  Read,            // read to its end
  ReadError,       // a read failed; what came before counts, as if the file had ended there
  CannotOpen,      // missing, no access, no such folder, ...
  NotRegularFile,  // a folder, FIFO, device or socket: nothing to read
  TooLarge,        // longer than the caller's bound
};

struct SmallFileRead {
  SmallFileStatus status = SmallFileStatus::Read;
  int error = 0;  // errno for CannotOpen and ReadError, else 0

  // Read and ReadError count as opened: what was read is the file.
  bool Opened() const { return status == SmallFileStatus::Read || status == SmallFileStatus::ReadError; }
};

// The program's one reader of the small files a user or the desktop may hand it
// (language files, desktop entries, settings): only a regular file of at most
// `maxBytes` is read. The open never blocks (a FIFO without a writer, a device) and
// never takes a controlling terminal; the type and size are asked of what was opened,
// not of the name, which may change in between.
class SmallFile {
 public:
  // Reads the file at `path` into `bytes`; unless the result counts as opened, `bytes`
  // is left empty.
  static SmallFileRead Read(const std::string& path, std::size_t maxBytes, std::string& bytes);
  // The same for a descriptor already open; it stays open.
  static SmallFileRead ReadOpen(int descriptor, std::size_t maxBytes, std::string& bytes);
  // Whether a file that another reader will read is fit for it: one that cannot be opened
  // (absent, say: nothing to read), or a regular file of at most `maxBytes`. Anything else
  // would hold or flood that reader.
  static bool AbsentOrFits(const std::string& path, std::size_t maxBytes);
};
