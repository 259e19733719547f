#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "net/InternetSession.h"

// A logged-in FTP control connection, held open in the session's curl handle
// so that later commands run on it without a second login. Data connections are
// active (the server connects to us), except through a proxy's tunnel, where the
// server could not reach us: there they are passive, through the proxy as well.
class FtpConnection {
 public:
  // Throws InternetException when the server cannot be reached or refuses the login.
  static std::unique_ptr<FtpConnection> Connect(InternetSession& session, const std::string& server,
                                                const std::string& userName,
                                                const std::string& password, std::uint16_t port);

  // Prepares the session's handle for a command on this connection.
  CURL* PrepareCommand();
  // Runs the prepared command (curl's result).
  CURLcode Perform();
  // Asks the server for a file's size on this connection ("TYPE I", then "SIZE path"):
  // the number of a "213 N" reply, else nothing. Throws InternetException only when the
  // connection cannot be used at all (closed, cancelled, past the query's deadline).
  std::optional<std::uint64_t> QuerySize(const std::string& path);
  // The number of a reply to SIZE: "213 N" with N decimal and within 64 bits.
  static std::optional<std::uint64_t> ParseSizeReply(std::string_view reply);
  // Whether the control connection runs through an HTTP proxy's tunnel.
  bool Tunnelled() const { return m_tunnelled; }
  void Close() {}

 private:
  FtpConnection(InternetSession& session, std::string rootUrl, std::string userName,
                std::string password)
      : m_session(session),
        m_rootUrl(std::move(rootUrl)),
        m_userName(std::move(userName)),
        m_password(std::move(password)) {}

  InternetSession& m_session;
  std::string m_rootUrl;
  std::string m_userName;
  std::string m_password;
  bool m_tunnelled = false;
};
