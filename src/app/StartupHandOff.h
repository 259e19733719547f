#pragma once

#include <optional>
#include <string>

// The first thing a start does, before anything of the window is loaded: with SingleInstance
// on, `startAddress` goes to the running copy. Returns the exit status when this copy is done
// (handed over: 0; a copy listens but never answers: a line on stderr, 1), or nothing when it
// runs its own window (no copy runs, or the running one is closing). Plain C++ and the system:
// the settings are read without Qt where they can be.
std::optional<int> HandOffBeforeTheWindow(const std::optional<std::string>& startAddress);
