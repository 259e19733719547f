#pragma once

#include <chrono>
#include <string>

// How patient a query is with a server, and how it introduces itself.
struct InternetOptions {
  std::chrono::milliseconds connectTimeout{std::chrono::seconds(30)};
  // A transfer, or a server reply, that makes no progress for this long ends the query.
  std::chrono::milliseconds stallTimeout{std::chrono::seconds(30)};
  long maxRedirects = 10;
  std::string userAgent = "Quorvane";
};
