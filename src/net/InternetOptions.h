#pragma once

#include <chrono>
#include <string>

// How patient a query is with a server, and how it introduces itself.
struct InternetOptions {
  std::chrono::milliseconds connectTimeout{std::chrono::seconds(30)};
  // A transfer, or a server reply, that makes no progress for this long ends the query;
  // so does an active-mode FTP server that does not open the data connection in this time.
  std::chrono::milliseconds stallTimeout{std::chrono::seconds(30)};
  // The whole query, from the first connect to the last byte read, ends after this long,
  // however steadily a server keeps sending (a listing or a head that never ends).
  // Longer than the connect and stall timeouts, so that each of those still has its say.
  std::chrono::milliseconds queryDeadline{std::chrono::seconds(60)};
  long maxRedirects = 10;
  std::string userAgent = "Quorvane";
};
