#include "cli/WindowLanguage.h"

#include <filesystem>
#include <system_error>

#include "core/LanguageTable.h"
#include "core/ProgramLocation.h"
#include "core/ProgramSettings.h"
#include "core/SettingsForReading.h"

#ifndef QUORVANE_QT_SETTINGS_MODULE
#error "QUORVANE_QT_SETTINGS_MODULE names the Qt settings module's file"
#endif

namespace fs = std::filesystem;

std::string WindowLanguage::WindowFolder() {
  const std::string window = BesideProgram("quorvane");
  std::error_code error;
  // Only a link leads elsewhere: a plain file beside this program shares its folder.
  if (!fs::is_symlink(window, error)) return ProgramFolder();
  const fs::path target = fs::canonical(window, error);
  // A link that leads nowhere leaves the window where it would be; loading then says the
  // file is missing, as the window would.
  return error ? ProgramFolder() : target.parent_path().string();
}

void WindowLanguage::Load(ProfileStore& store, LanguageTable& texts) {
  ProgramSettings settings;
  settings.Load(store);
  texts.SetLanguageFolder(LanguageFolder());
  texts.LoadLanguageFile(settings.LanguageFile, false);
}

void WindowLanguage::Load(LanguageTable& texts) {
  const auto settings = OpenSettingsForReading(WindowFolder() + "/" + QUORVANE_QT_SETTINGS_MODULE);
  Load(*settings, texts);
}
