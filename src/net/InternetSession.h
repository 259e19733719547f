#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "net/InternetOptions.h"

using CURL = void;
class HttpFile;
class FtpConnection;

// One query's connection to the Internet: a single curl easy handle, so an FTP
// listing runs on the connection that logged in. Not shared between threads.
class InternetSession {
 public:
  // `cancel` may be null; when it becomes true, a transfer in progress ends.
  InternetSession(InternetOptions options, const std::atomic<bool>* cancel);
  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  // GET `address` and stop as soon as the final response's headers are in.
  // Throws InternetException when no response arrives.
  std::unique_ptr<HttpFile> OpenURL(const std::string& address);

  // Connect and log in, in active mode. Empty user name means anonymous.
  // Throws InternetException when the connection or the login fails.
  std::unique_ptr<FtpConnection> GetFtpConnection(const std::string& server,
                                                  const std::string& userName,
                                                  const std::string& password,
                                                  std::uint16_t port);

  // Drops the connection. Safe to call more than once.
  void Close();

  // Starts a transfer from a clean handle with the options every transfer shares.
  CURL* PrepareTransfer();
  bool IsCancelled() const;

 private:
  static int OnProgress(void* session, long long, long long, long long, long long);

  InternetOptions m_options;
  const std::atomic<bool>* m_cancel;
  CURL* m_curl;
};
