#pragma once

#include <string>

class LanguageTable;
class ProfileStore;

// The terminal front end speaks the window's language: the language file named by the
// window's setting, from the "Language" folder beside the real window executable.
class WindowLanguage {
 public:
  // The folder for this executable: beside the `quorvane` next to it, links resolved, so
  // an installed bin/quorvane link leads to the folder beside the real program.
  static std::string LanguageFolder();
  // Loads the window's language file into `texts` as the window would, reading the
  // settings only. A file that cannot be opened leaves the built-in texts and reports
  // the missing file through the table's handler.
  static void Load(ProfileStore& settings, LanguageTable& texts);
};
