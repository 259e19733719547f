#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

using CURL = void;

// The head of an HTTP answer: what a size query asks of it, and nothing of its body.
class HttpFile {
 public:
  // Runs the prepared GET on `curl` until the final response's headers are in.
  // Throws InternetException when none arrive.
  static std::unique_ptr<HttpFile> Open(CURL* curl, const std::string& address);

  // False when the answer carried no Content-Length that reads as a number.
  bool QueryInfoContentLength(std::uint64_t& length) const;
  // False when the answer had no readable status code.
  bool QueryInfoStatusCode(std::uint32_t& statusCode) const;
  void Close() {}

 private:
  HttpFile(std::optional<std::uint32_t> statusCode, std::optional<std::uint64_t> contentLength)
      : m_statusCode(statusCode), m_contentLength(contentLength) {}

  std::optional<std::uint32_t> m_statusCode;
  std::optional<std::uint64_t> m_contentLength;
};
