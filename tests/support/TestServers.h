#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"

// One of the project's test servers (tests/support/*.py) on 127.0.0.1, started
// for a test and gone with it.
class TestServer {
 public:
  // The scripted HTTP server; `mode` "http" or "silent" (accepts, never speaks).
  static std::unique_ptr<TestServer> Http(const std::string& mode = "http",
                                          const std::string& logFile = "");
  // The same routes over TLS, with TlsCertificate() as its certificate.
  static std::unique_ptr<TestServer> Https();
  // pyftpdlib serving `root` read-only; extra arguments as ftp_server.py takes them.
  static std::unique_ptr<TestServer> Ftp(const std::string& root,
                                         const std::vector<std::string>& extra = {});
  // The loopback-only HTTP proxy (CONNECT tunnels and forwarded GETs); with a log
  // file, every request line it is asked is written there.
  static std::unique_ptr<TestServer> Proxy(const std::string& logFile = "");

  // The test certificate (and key) for 127.0.0.1 and localhost, in PEM; a client
  // that takes it as its authority bundle trusts Https().
  static std::string TlsCertificate();

  int Port() const { return m_port; }
  std::string Url(const std::string& scheme, const std::string& path) const;

 private:
  explicit TestServer(const std::vector<std::string>& argv);

  ChildProcess m_process;
  int m_port = 0;
};

// URL-safe base64, as the HTTP server's /raw/ and /redirect/ routes take it.
std::string Base64Url(const std::string& bytes);

// A fresh, empty folder below the system's temporary folder.
std::string MakeTempFolder();
