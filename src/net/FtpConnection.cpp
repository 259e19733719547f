#include "net/FtpConnection.h"

#include <curl/curl.h>

#include <charconv>

#include "net/InternetException.h"

namespace {

// The server's root as a URL built by curl itself, so IPv6 literals and odd
// host names are written the way curl will read them back.
std::string RootUrl(const std::string& server, std::uint16_t port) {
  CURLU* url = curl_url();
  std::string text;
  char* built = nullptr;
  if (url && curl_url_set(url, CURLUPART_SCHEME, "ftp", 0) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_HOST, server.c_str(), 0) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_PORT, std::to_string(port).c_str(), 0) == CURLUE_OK &&
      curl_url_set(url, CURLUPART_PATH, "/", 0) == CURLUE_OK &&
      curl_url_get(url, CURLUPART_URL, &built, 0) == CURLUE_OK) {
    text = built;
    curl_free(built);
  }
  curl_url_cleanup(url);
  if (text.empty()) throw InternetException(CURLE_URL_MALFORMAT, "not an FTP server address");
  return text;
}

std::size_t DiscardBody(char*, std::size_t size, std::size_t count, void*) { return size * count; }

// curl hands an FTP server's replies to the header callback, line by line; the last
// 213 reply is the one to SIZE (TYPE answers 200). A reply line is kept only up to a
// bound, so a server cannot fill the memory with one.
struct SizeReplyReader {
  static constexpr std::size_t kMaxReply = 512;
  std::string sizeReply;
};

std::size_t OnReply(char* data, std::size_t size, std::size_t count, void* reader) {
  const std::size_t bytes = size * count;
  const std::string_view line(data, bytes);
  if (line.starts_with("213 ")) static_cast<SizeReplyReader*>(reader)->sizeReply = line.substr(0, SizeReplyReader::kMaxReply);
  return bytes;
}

}  // namespace

std::unique_ptr<FtpConnection> FtpConnection::Connect(InternetSession& session,
                                                      const std::string& server,
                                                      const std::string& userName,
                                                      const std::string& password,
                                                      std::uint16_t port) {
  std::unique_ptr<FtpConnection> connection(
      new FtpConnection(session, RootUrl(server, port ? port : 21), userName, password));
  // Logging in is a transfer without a body: curl connects, logs in and stops.
  CURL* curl = connection->PrepareCommand();
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &DiscardBody);
  const CURLcode result = session.Perform();
  if (result != CURLE_OK) throw InternetException(result, curl_easy_strerror(result));
  // A proxy that answered CONNECT carries the control connection; the server cannot
  // reach back through it, so the data connections go out through it too (passive).
  long connectCode = 0;
  curl_easy_getinfo(curl, CURLINFO_HTTP_CONNECTCODE, &connectCode);
  connection->m_tunnelled = connectCode != 0;
  return connection;
}

std::optional<std::uint64_t> FtpConnection::ParseSizeReply(std::string_view reply) {
  if (!reply.starts_with("213 ")) return std::nullopt;
  reply.remove_prefix(4);
  while (!reply.empty() && (reply.back() == '\r' || reply.back() == '\n' || reply.back() == ' ')) reply.remove_suffix(1);
  if (reply.empty() || reply.front() < '0' || reply.front() > '9') return std::nullopt;
  std::uint64_t size = 0;
  const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), size);
  if (error != std::errc() || end != reply.data() + reply.size()) return std::nullopt;
  return size;
}

std::optional<std::uint64_t> FtpConnection::QuerySize(const std::string& path) {
  SizeReplyReader reader;
  const std::string size = "SIZE " + path;
  curl_slist* commands = curl_slist_append(nullptr, "TYPE I");
  curl_slist* all = commands ? curl_slist_append(commands, size.c_str()) : nullptr;
  if (!all) {
    curl_slist_free_all(commands);
    return std::nullopt;
  }
  // Like the login: a transfer without a body on the server's root, here with the two
  // commands sent before it, on the connection the session holds.
  CURL* curl = PrepareCommand();
  curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &DiscardBody);
  curl_easy_setopt(curl, CURLOPT_QUOTE, all);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnReply);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reader);
  const CURLcode result = m_session.Perform();
  curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
  curl_slist_free_all(all);
  if (result != CURLE_OK) return std::nullopt;
  return ParseSizeReply(reader.sizeReply);
}

CURL* FtpConnection::PrepareCommand() {
  CURL* curl = m_session.PrepareTransfer();
  curl_easy_setopt(curl, CURLOPT_URL, m_rootUrl.c_str());
  // An HTTP proxy from the environment can carry FTP only as a tunnel (CONNECT);
  // without a proxy this changes nothing.
  curl_easy_setopt(curl, CURLOPT_HTTPPROXYTUNNEL, 1L);
  if (!m_tunnelled) curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  // Without a user name curl logs in anonymously.
  if (!m_userName.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, m_userName.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m_password.c_str());
  }
  return curl;
}

CURLcode FtpConnection::Perform() { return m_session.Perform(); }
