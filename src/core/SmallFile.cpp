#include "core/SmallFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/UniqueDescriptor.h"

namespace {

int OpenWithoutWaiting(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
}

}  // namespace

SmallFileRead SmallFile::Read(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  const UniqueDescriptor file(OpenWithoutWaiting(path));
  if (!file.IsOpen()) return {SmallFileStatus::CannotOpen, errno};
  return ReadOpen(file.Get(), maxBytes, bytes);
}

SmallFileRead SmallFile::ReadOpen(int descriptor, std::size_t maxBytes, std::string& bytes) {
  bytes.clear();
  struct stat about {};
  if (fstat(descriptor, &about) != 0) return {SmallFileStatus::CannotOpen, errno};
  if (!S_ISREG(about.st_mode)) return {SmallFileStatus::NotRegularFile, 0};
  if (about.st_size < 0 || static_cast<std::uintmax_t>(about.st_size) > maxBytes)
    return {SmallFileStatus::TooLarge, 0};

  // The size said is only a hint: the file may grow while it is read, and files such
  // as those under /proc say 0 and still have bytes. One byte past the limit is
  // enough to know that a file is too long.
  bytes.reserve(static_cast<std::size_t>(about.st_size) + 1);
  char chunk[16384];
  while (bytes.size() <= maxBytes) {
    const std::size_t wanted = std::min(sizeof chunk, maxBytes + 1 - bytes.size());
    const ssize_t got = ::read(descriptor, chunk, wanted);
    if (got < 0) {
      if (errno == EINTR) continue;
      return {SmallFileStatus::ReadError, errno};
    }
    if (got == 0) return {SmallFileStatus::Read, 0};
    bytes.append(chunk, static_cast<std::size_t>(got));
  }
  bytes.clear();
  bytes.shrink_to_fit();
  return {SmallFileStatus::TooLarge, 0};
}

bool SmallFile::AbsentOrFits(const std::string& path, std::size_t maxBytes) {
  const UniqueDescriptor file(OpenWithoutWaiting(path));
  // What cannot be opened (absent, no access) cannot hold the other reader either.
  if (!file.IsOpen()) return true;
  struct stat about {};
  return fstat(file.Get(), &about) == 0 && S_ISREG(about.st_mode) && about.st_size >= 0 &&
         static_cast<std::uintmax_t>(about.st_size) <= maxBytes;
}
