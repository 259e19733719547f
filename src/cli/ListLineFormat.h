#pragma once

#include <string>

#include "query/SizeQueryReport.h"

// One answered address as a line of a list, without its line end.

// SIZE<TAB>VERDICT<TAB>ADDRESS: the byte count without blanks (with `human`, in binary
// units), empty when there is none; the verdict as one line, empty when nothing was asked;
// the address as given, line breaks as blanks so that the line stays one line.
std::string TsvLine(const std::string& address, const SizeQueryReport& report, bool human);

// One JSON object: every byte of the address and the texts comes out as valid JSON
// (bytes that are no UTF-8 as U+FFFD).
std::string JsonLine(const std::string& address, const SizeQueryReport& report);

// "size", "no-size", "bad-address" or "not-asked".
const char* OutcomeName(SizeQueryOutcome outcome);

// A time in seconds since 1970 as ISO 8601 in UTC: "2024-05-01T12:00:00Z".
std::string IsoUtcTime(std::int64_t seconds);
