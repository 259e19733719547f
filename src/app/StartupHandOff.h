#pragma once

#include <QByteArray>

#include <optional>

// The first thing a start does, before any Qt application exists: with SingleInstance
// on, `startAddress` goes to the running copy. Returns the exit status when this copy
// is done (handed over: 0; a copy listens but never answers: a line on stderr, 1), or
// nothing when it runs its own window (no copy runs, or the running one is closing).
std::optional<int> HandOffBeforeTheWindow(const std::optional<QByteArray>& startAddress);
