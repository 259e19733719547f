#pragma once

#include <cstdint>
#include <string>

// A byte count as the size box shows it: "1 048 576" grouped by three digits
// with single blanks, or "1048576" without grouping.
std::string FormatFileSize(std::uint64_t size, bool groupDigits);
