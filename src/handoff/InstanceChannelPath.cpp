#include "handoff/InstanceChannelPath.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace {

bool IsOwnFolder(const std::string& path) {
  struct stat about {};
  return lstat(path.c_str(), &about) == 0 && S_ISDIR(about.st_mode) && about.st_uid == getuid();
}

// The temp dir as the system names it: TMPDIR when set, else /tmp; no trailing slash.
std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && *tmp ? tmp : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The session's runtime folder when it is really there and ours; we never create it,
// since a missing one means the session has none and a made-up one would outlive it.
std::string RuntimeBase(std::string* problem) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && IsOwnFolder(runtime)) return std::string(runtime) + "/Quorvane";
  if (runtime && *runtime && problem)
    *problem = std::string("XDG_RUNTIME_DIR ") + runtime + " is not our own folder; the temp dir is used";
  return TempFolder() + "/quorvane-" + std::to_string(getuid());
}

}  // namespace

std::string InstanceChannelPath(std::string* problem) {
  const std::string folder = RuntimeBase(problem);
  mkdir(folder.c_str(), 0700);
  // Checked before it is touched: a link or someone else's folder planted in a shared temp
  // dir is refused, and no chmod follows a link to a folder of ours elsewhere.
  if (!IsOwnFolder(folder) || chmod(folder.c_str(), S_IRWXU) != 0) {
    if (problem) *problem = "no private channel folder at " + folder;
    return {};
  }
  return folder + "/ExchangeBuffer";
}
