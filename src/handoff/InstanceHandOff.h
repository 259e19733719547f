#pragma once

#include <QByteArray>

#include <optional>

enum class HandOffResult {
  NoRunningCopy,  // nobody listens, or the running copy is closing: this copy runs on its own
  HandedOver,     // the running copy has handled the notification
  NoAnswer,       // a copy listens but did not answer in time
};

// The second copy's side: hands `address` (if any) to the running copy and waits
// until it has been handled, at most `timeoutMs` for the connection and as long again
// for the answer. A plain local socket and no event loop, so it runs before any Qt
// application exists.
HandOffResult HandOffToRunningCopy(const std::optional<QByteArray>& address, int timeoutMs);
