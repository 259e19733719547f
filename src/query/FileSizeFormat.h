#pragma once

#include <cstdint>
#include <string>

// A byte count as the size box shows it: "1 048 576" grouped by three digits
// with single blanks, or "1048576" without grouping.
std::string FormatFileSize(std::uint64_t size, bool groupDigits);

// A byte count in binary units, three significant digits where the unit allows:
// "512 B", "1.00 KiB", "4.66 GiB", "16.0 EiB".
std::string FormatBinaryUnits(std::uint64_t size);

// The text of a size in both forms, such as "4.66 GiB (5 000 000 000 bytes)".
// `pattern` may come from a language file and is filled by FillTemplate: the first
// "%s" takes the binary form, the second the byte count as the size box shows it.
std::string FormatSizeInBothUnits(const std::string& pattern, std::uint64_t size, bool groupDigits);

// The string ID of that pattern and its built-in text.
inline constexpr std::uint32_t kSizeInBothUnitsId = 7;
inline constexpr const char* kSizeInBothUnitsBuiltIn = "%s (%s байт)";
