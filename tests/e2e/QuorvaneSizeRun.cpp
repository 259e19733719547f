#include "QuorvaneSizeRun.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TestServers.h"

std::string SettingsFolder(const std::string& languageFile) {
  const std::string folder = MakeTempFolder();
  if (!languageFile.empty()) {
    std::filesystem::create_directories(folder + "/Marrowby");
    std::ofstream(folder + "/Marrowby/Quorvane.conf") << "[Settings]\nLanguageFile=" << languageFile << "\n";
  }
  return folder;
}

std::string BuiltInTextsSettings() {
  static const std::string builtInTexts = SettingsFolder("<main>");
  return "XDG_CONFIG_HOME=" + builtInTexts;
}

ChildProcess::Result RunSize(std::vector<std::string> arguments, std::vector<std::string> environment) {
  const bool namesSettings = std::any_of(environment.begin(), environment.end(),
                                         [](const std::string& entry) { return entry.starts_with("XDG_CONFIG_HOME="); });
  if (!namesSettings) environment.push_back(BuiltInTextsSettings());
  arguments.insert(arguments.begin(), QUORVANE_SIZE_EXE);
  return ChildProcess::Run(arguments, std::chrono::seconds(120), environment);
}
