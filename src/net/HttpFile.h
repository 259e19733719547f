#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/AnswerFacts.h"

using CURL = void;
class InternetSession;

// The head of an HTTP answer: what a size query asks of it, and nothing of its body.
class HttpFile {
 public:
  // Runs the prepared GET on `curl` (the session's handle) until the final
  // response's headers are in. Throws InternetException when none arrive.
  static std::unique_ptr<HttpFile> Open(InternetSession& session, CURL* curl, const std::string& address);

  // False when the answer carried no Content-Length that reads as a number.
  bool QueryInfoContentLength(std::uint64_t& length) const;
  // False when the answer had no readable status code.
  bool QueryInfoStatusCode(std::uint32_t& statusCode) const;
  // The complete length of a range answer ("Content-Range: bytes 0-0/N"); false
  // when the answer carried no such header or its total was not a number.
  bool QueryInfoRangeTotal(std::uint64_t& total) const;
  // The rest of what the final answer said; its address after the redirects.
  const AnswerFacts& Facts() const { return m_facts; }
  void Close() {}

  // One Content-Length value as we read it: decimal digits only, blanks around them
  // allowed, at most 2^64 - 1. Anything else is no readable length.
  static std::optional<std::uint64_t> ParseContentLength(std::string_view value);
  // The total of one Content-Range value: "bytes FIRST-LAST/TOTAL", decimal numbers
  // that fit 64 bits, FIRST <= LAST < TOTAL. "*" as the total, or anything else, is none.
  static std::optional<std::uint64_t> ParseContentRangeTotal(std::string_view value);

 private:
  HttpFile(std::optional<std::uint32_t> statusCode, std::optional<std::uint64_t> contentLength,
           std::optional<std::uint64_t> rangeTotal, AnswerFacts facts)
      : m_statusCode(statusCode),
        m_contentLength(contentLength),
        m_rangeTotal(rangeTotal),
        m_facts(std::move(facts)) {}

  std::optional<std::uint32_t> m_statusCode;
  std::optional<std::uint64_t> m_contentLength;
  std::optional<std::uint64_t> m_rangeTotal;
  AnswerFacts m_facts;
};
