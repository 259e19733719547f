// quorvane: the window, or the hand-off of an address to the window that runs. The executable
// itself links no Qt: a second start hands over with plain sockets and leaves, and only a copy
// that runs its own window loads the window module.
#include <cstdio>
#include <cstdlib>

#include "app/StartupHandOff.h"
#include "app/WindowModule.h"
#include "core/ModuleBeside.h"

#ifndef QUORVANE_WINDOW_MODULE
#error "QUORVANE_WINDOW_MODULE names the window module's file"
#endif

int main(int argc, char* argv[]) {
  // The command line is one address and nothing else, kept exactly as given.
  std::optional<std::string> startAddress;
  if (argc > 1) startAddress = std::string(argv[1]);
  // A copy that hands over never loads the window's world.
  if (const auto handedOver = HandOffBeforeTheWindow(startAddress)) return *handedOver;

  const char* error = nullptr;
  const auto entry =
      reinterpret_cast<const WindowModule* (*)()>(LoadModuleBeside(QUORVANE_WINDOW_MODULE, kWindowModuleEntry, &error));
  if (!entry) {
    // As a missing shared library would stop the program at its start.
    std::fprintf(stderr, "quorvane: cannot load the window: %s\n", error);
    return 127;
  }
  return entry()->run(argv[0], startAddress);
}
