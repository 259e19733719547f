#pragma once

#include <stdexcept>
#include <string>

// The one failure a size query catches: a connection, login or open that failed.
class InternetException : public std::runtime_error {
 public:
  InternetException(long errorCode, const std::string& what)
      : std::runtime_error(what), m_errorCode(errorCode) {}

  long ErrorCode() const { return m_errorCode; }

 private:
  long m_errorCode;
};
