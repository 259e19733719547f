#pragma once

#include <string>

class LanguageTable;
class ProfileStore;

// The terminal front end speaks the window's language: the language file named by the
// window's setting, from the "Language" folder beside the real window executable.
class WindowLanguage {
 public:
  // Where the window program lives for this executable: beside the `quorvane` next to it,
  // links resolved, so an installed bin/quorvane link leads to the folder of the real
  // program (its languages, its modules).
  static std::string WindowFolder();
  static std::string LanguageFolder() { return WindowFolder() + "/Language"; }
  // Loads the window's language file into `texts` as the window would, reading the
  // settings only. A file that cannot be opened leaves the built-in texts and reports
  // the missing file through the table's handler.
  static void Load(ProfileStore& settings, LanguageTable& texts);
  // The same with the window's own settings, read without Qt where they can be.
  static void Load(LanguageTable& texts);
};
