#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "net/InternetOptions.h"
#include "net/TransferCancel.h"

class HttpFile;
class FtpConnection;

// One query's connection to the Internet: a single curl easy handle driven through
// a multi handle of its own, so an FTP listing runs on the connection that logged
// in, and a cancel wakes the wait at once. Not shared between threads, except that
// the cancel may come from any thread.
class InternetSession : private TransferCancel::Waiter {
 public:
  // `cancel` may be null; when it is cancelled, a transfer in progress ends at once
  // and no later transfer starts. The query deadline starts now.
  InternetSession(InternetOptions options, TransferCancel* cancel);
  ~InternetSession();
  InternetSession(const InternetSession&) = delete;
  InternetSession& operator=(const InternetSession&) = delete;

  // GET `address` and stop as soon as the final response's headers are in.
  // Throws InternetException when no response arrives.
  std::unique_ptr<HttpFile> OpenURL(const std::string& address);
  // The same GET for the first byte only (Range: bytes=0-0), for a server that tells
  // a file's whole length only in a range answer.
  std::unique_ptr<HttpFile> OpenFirstByte(const std::string& address);

  // Connect and log in, in active mode. Empty user name means anonymous.
  // Throws InternetException when the connection or the login fails.
  std::unique_ptr<FtpConnection> GetFtpConnection(const std::string& server,
                                                  const std::string& userName,
                                                  const std::string& password,
                                                  std::uint16_t port);

  // Drops the connection without waiting for any goodbye. Safe to call more than once.
  void Close();

  // Starts a transfer from a clean handle with the options every transfer shares.
  // Throws InternetException once the query's deadline has passed or it was cancelled.
  CURL* PrepareTransfer();
  // Runs the prepared transfer to its end: done, failed, timed out or cancelled.
  CURLcode Perform();
  bool IsCancelled() const;

 private:
  std::unique_ptr<HttpFile> OpenHttp(const std::string& address, const char* range);
  void Wake() override;
  // Ends every socket curl still has open, so that nothing inside curl waits on one.
  void ShutDownSockets();
  static int OnProgress(void* session, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
  static curl_socket_t OpenSocket(void* session, curlsocktype purpose, curl_sockaddr* address);
  static int CloseSocket(void* session, curl_socket_t socket);

  InternetOptions m_options;
  TransferCancel* m_cancel;
  std::chrono::steady_clock::time_point m_deadline;
  CURL* m_curl;
  CURLM* m_multi;
  // Closes the duplicates of sockets curl has given up; called with m_socketsLock held.
  void ForgetSocket(int socket);

  std::mutex m_socketsLock;
  // curl's sockets, each with a duplicate of our own. libcurl 7.88 closes a socket it never
  // connected (a failed or abandoned attempt) with close() rather than through the close
  // callback, so its number may be gone or reused at any moment; the duplicate is closed
  // only by us, so ending a socket never touches a number curl may have let go.
  std::map<int, int> m_sockets;
};
