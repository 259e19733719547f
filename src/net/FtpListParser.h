#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct FtpListEntry {
  std::string name;
  std::uint64_t size = 0;
  bool isDirectory = false;
};

// Reads one line of an FTP LIST answer. Servers answer in their own formats;
// these are the ones met in practice: Unix "ls -l" (with or without the group
// column), DOS/IIS, and EPLF. Anything else, including "total N", is no entry.
class FtpListParser {
 public:
  static std::optional<FtpListEntry> ParseLine(std::string_view line);

 private:
  static std::optional<FtpListEntry> ParseUnix(std::string_view line);
  static std::optional<FtpListEntry> ParseDos(std::string_view line);
  static std::optional<FtpListEntry> ParseEplf(std::string_view line);
};
