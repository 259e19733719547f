#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What a server's answer said of a file besides its size, each only where the
// server said it; for a script that wants more than the verdict.
struct AnswerFacts {
  std::string finalAddress;                  // after the redirects that were followed
  std::optional<long> replyCode;             // the HTTP status, or the FTP server's last reply
  std::optional<std::string> contentType;
  std::optional<std::int64_t> lastModified;  // seconds since 1970-01-01 UTC
  std::optional<bool> acceptsRanges;         // a download could be resumed (Accept-Ranges: bytes)
};
