#pragma once

#include <functional>
#include <memory>
#include <string>

class SizeQueryView;

enum class SizeQueryOutcome {
  Refused,       // another query was running; nothing changed
  BadAddress,    // the address could not be parsed
  OtherService,  // neither http nor ftp: no request was made
  SizeShown,
  NoSize,        // the query ran and ended without a size
};

// An address typed as "www.…" is meant as a web address.
std::string CompleteQueryAddress(const std::string& address);

// One size query, from reading the view's address to its verdict, on the calling thread.
SizeQueryOutcome QuerySizeThread(SizeQueryView& view);

// Runs a query on a thread of its own; the thread keeps the view alive until it ends,
// then calls `onEnd` (if given) on that thread.
void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd = {});
