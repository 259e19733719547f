#include "core/ProgramLocation.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// Asked once: the executable does not move while it runs. The kernel's link already names
// the file with every symbolic link resolved, so one readlink is the whole answer; a deleted
// or replaced executable has no path any more.
std::string ProgramPath() {
  static const std::string path = [] {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error || !self.is_absolute() || !fs::is_regular_file(self, error)) return std::string();
    return self.string();
  }();
  return path;
}

std::string ProgramFolder() { return fs::path(ProgramPath()).parent_path().string(); }

std::string ProgramTitle() { return fs::path(ProgramPath()).stem().string(); }

std::string BesideProgram(const std::string& name) { return (fs::path(ProgramFolder()) / name).string(); }
