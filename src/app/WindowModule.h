#pragma once

#include <optional>
#include <string>

// The window's world (Qt and everything the window stands on) lives in a module beside the
// executable, loaded only by a copy that runs its own window: a second start that hands its
// address over loads nothing of it.
struct WindowModule {
  // Runs the window for `programName` (Qt sees nothing else of the command line), asking
  // `startAddress` once it shows. Returns the exit status; may end the process itself.
  int (*run)(char* programName, const std::optional<std::string>& startAddress);
};

extern "C" const WindowModule* QuorvaneWindowModule();
inline constexpr const char* kWindowModuleEntry = "QuorvaneWindowModule";
