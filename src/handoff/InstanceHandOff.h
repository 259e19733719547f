#pragma once

#include <optional>
#include <string>

enum class HandOffResult {
  NoRunningCopy,  // nobody listens, or the running copy is closing: this copy runs on its own
  HandedOver,     // the running copy has handled the notification
  NoAnswer,       // a copy listens but did not answer in time
};

// The second copy's side: hands `address` (if any) to the running copy and waits
// until it has been handled, at most `timeoutMs` for the connection and as long again
// for the answer. A plain local socket, no event loop and no Qt, so it runs before anything
// else is set up.
HandOffResult HandOffToRunningCopy(const std::optional<std::string>& address, int timeoutMs);
