#include "core/ProgramLocation.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// Asked once: the executable does not move while it runs, and the answer takes a readlink
// for every folder on the way.
std::string ProgramPath() {
  static const std::string path = [] {
    std::error_code error;
    const fs::path self = fs::canonical("/proc/self/exe", error);
    return error ? std::string() : self.string();
  }();
  return path;
}

std::string ProgramFolder() { return fs::path(ProgramPath()).parent_path().string(); }

std::string ProgramTitle() { return fs::path(ProgramPath()).stem().string(); }

std::string BesideProgram(const std::string& name) { return (fs::path(ProgramFolder()) / name).string(); }
