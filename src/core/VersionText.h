#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

using VersionNumbers = std::array<std::uint16_t, 4>;

// The version as the program shows it: "2.0" for 2.0.0.0, "2.01" for 2.0.1.0,
// "2.003" for 2.0.0.3; the last two parts follow without a dot, and only when
// they are not zero. Empty when no version is known.
std::string FormatVersionText(const std::optional<VersionNumbers>& version);

// The program's own product version, formatted.
std::string GetVersionText();
