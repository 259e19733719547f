#include "cli/WindowLanguage.h"

#include <filesystem>
#include <system_error>

#include "core/ProgramLocation.h"
#include "core/ProgramSettings.h"
#include "core/LanguageTable.h"

namespace fs = std::filesystem;

std::string WindowLanguage::LanguageFolder() {
  std::error_code error;
  const fs::path window = fs::canonical(BesideProgram("quorvane"), error);
  // Without the window beside it, its folder is where it would be; loading then says
  // the file is missing, as the window would.
  const fs::path folder = error ? fs::path(ProgramFolder()) : window.parent_path();
  return (folder / "Language").string();
}

void WindowLanguage::Load(ProfileStore& store, LanguageTable& texts) {
  ProgramSettings settings;
  settings.Load(store);
  texts.SetLanguageFolder(LanguageFolder());
  texts.LoadLanguageFile(settings.LanguageFile, false);
}
