#pragma once

class ProfileStore;

// QSettings' own reading of the program's settings, in a module beside the window program:
// a program without Qt loads it only for a settings file its plain reader leaves to Qt.
struct QtSettingsModule {
  ProfileStore* (*open)();  // the program's settings, owned by the caller
};

extern "C" const QtSettingsModule* QuorvaneQtSettingsModule();
inline constexpr const char* kQtSettingsModuleEntry = "QuorvaneQtSettingsModule";
