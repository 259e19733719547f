#pragma once

#include <cstddef>

// What the two copies say to each other over the instance channel. One connection is one
// hand-off: an optional message frame, then the notification; the running copy answers with
// one byte once it has handled it.
//
// Kept free of Qt on purpose: a second copy speaks it before anything else is set up.
namespace HandOffWire {

constexpr char kMessage = 'M';       // followed by a 4-byte big-endian length and that many bytes
constexpr char kNotify = 'N';        // the hand-off is complete: act on it
constexpr char kAcknowledged = 'A';  // the running copy has handled the hand-off
constexpr char kRefused = 'R';       // the running copy is closing: the sender runs on its own

constexpr std::size_t kLengthBytes = 4;
constexpr std::size_t kMessageHeader = 1 + kLengthBytes;
// The longest address a running copy takes; a longer one is dropped unread.
constexpr std::size_t kMaxMessage = 2048;

}  // namespace HandOffWire
