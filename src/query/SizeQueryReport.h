#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "net/AnswerFacts.h"
#include "query/SizeQueryMessages.h"

enum class SizeQueryOutcome {
  Refused,       // another query was running; nothing changed
  BadAddress,    // the address could not be parsed
  OtherService,  // neither http nor ftp: no request was made
  SizeShown,
  NoSize,        // the query ran and ended without a size
};

// How one query ended, all in one place: what the status line and the size box were
// left showing, and what else the server said.
struct SizeQueryReport {
  SizeQueryOutcome outcome = SizeQueryOutcome::Refused;
  std::optional<SizeQueryMessages::Id> verdict;  // the last message shown; none when nothing was asked
  std::string verdictText;                       // that message as shown, numbers filled in
  std::optional<std::uint64_t> size;             // the size shown, if one was
  AnswerFacts facts;
};
