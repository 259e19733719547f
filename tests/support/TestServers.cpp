#include "TestServers.h"

#include <cstdlib>
#include <stdexcept>

#ifndef QUORVANE_SOURCE_DIR
#error "QUORVANE_SOURCE_DIR must name the source tree"
#endif

namespace {

// Debian's interpreter: the first python3 on PATH may lack Debian's pyftpdlib.
constexpr const char* kPython = "/usr/bin/python3";

std::string Script(const std::string& name) {
  return std::string(QUORVANE_SOURCE_DIR) + "/tests/support/" + name;
}

}  // namespace

TestServer::TestServer(const std::vector<std::string>& argv) : m_process(argv) {
  const std::string line = m_process.ReadLine(std::chrono::seconds(20));
  if (!line.starts_with("PORT ")) {
    m_process.Finish(std::chrono::seconds(2));
    throw std::runtime_error("test server did not start: " + argv[1] + "\n" + m_process.Stderr());
  }
  m_port = std::stoi(line.substr(5));
}

std::unique_ptr<TestServer> TestServer::Http(const std::string& mode, const std::string& logFile) {
  std::vector<std::string> argv = {kPython, Script("http_server.py"), "--mode", mode};
  if (!logFile.empty()) argv.insert(argv.end(), {"--log", logFile});
  return std::unique_ptr<TestServer>(new TestServer(argv));
}

std::unique_ptr<TestServer> TestServer::Https() {
  return std::unique_ptr<TestServer>(
      new TestServer({kPython, Script("http_server.py"), "--tls", TlsCertificate()}));
}

std::unique_ptr<TestServer> TestServer::Proxy(const std::string& logFile) {
  std::vector<std::string> argv = {kPython, Script("connect_proxy.py")};
  if (!logFile.empty()) argv.insert(argv.end(), {"--log", logFile});
  return std::unique_ptr<TestServer>(new TestServer(argv));
}

std::string TestServer::TlsCertificate() { return Script("tls_test_cert.pem"); }

std::unique_ptr<TestServer> TestServer::Ftp(const std::string& root,
                                            const std::vector<std::string>& extra) {
  std::vector<std::string> argv = {kPython, Script("ftp_server.py"), "--root", root};
  argv.insert(argv.end(), extra.begin(), extra.end());
  return std::unique_ptr<TestServer>(new TestServer(argv));
}

std::string TestServer::Url(const std::string& scheme, const std::string& path) const {
  return scheme + "://127.0.0.1:" + std::to_string(m_port) + path;
}

std::string Base64Url(const std::string& bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::string text;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    for (int shift : {18, 12, 6, 0}) text += kAlphabet[(v >> shift) & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += kAlphabet[(v >> 18) & 63];
    text += kAlphabet[(v >> 12) & 63];
    if (rest == 2) text += kAlphabet[(v >> 6) & 63];
  }
  return text;
}

std::string MakeTempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quorvane-test-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}
