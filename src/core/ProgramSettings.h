#pragma once

#include <cstdint>
#include <string>

class ProfileStore;

// The user's preferences, read once at start-up and written back whole on every change.
struct ProgramSettings {
  static constexpr const char* kSection = "Settings";
  static constexpr std::int32_t kNoPosition = -1;

  bool TopmostWindow = true;
  bool WatchClipboard = true;
  bool AutoAskSize = true;
  bool GroupDigits = true;
  bool SingleInstance = true;
  bool SaveWindowPos = true;
  std::int32_t xWindowPos = kNoPosition;
  std::int32_t yWindowPos = kNoPosition;
  std::string LanguageFile = "QVN_eng.lng";
  // Ask https addresses like http ones. Off unless the user opts in; a settings file
  // from before this option has no value for it and so keeps it off.
  bool AskHttps = false;
  // When a server does not say a size, ask it once more in another way (a byte range
  // over HTTP, SIZE over FTP). Off unless the user opts in, as AskHttps.
  bool AskSizeOtherWays = false;

  // Missing or unreadable values take their defaults; nothing is reported.
  void Load(ProfileStore& store);
  // Failures to write are not reported.
  void Save(ProfileStore& store) const;
  // Writes only the window's place.
  void SaveWindowPosition(ProfileStore& store) const;
};
