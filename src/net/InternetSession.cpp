#include "net/InternetSession.h"

#include <curl/curl.h>

#include "net/FtpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetException.h"

namespace {

long WholeSeconds(std::chrono::milliseconds duration) {
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(duration).count();
  return seconds < 1 ? 1 : static_cast<long>(seconds);
}

}  // namespace

InternetSession::InternetSession(InternetOptions options, const std::atomic<bool>* cancel)
    : m_options(std::move(options)), m_cancel(cancel), m_curl(curl_easy_init()) {}

InternetSession::~InternetSession() { Close(); }

void InternetSession::Close() {
  if (m_curl) curl_easy_cleanup(m_curl);
  m_curl = nullptr;
}

bool InternetSession::IsCancelled() const { return m_cancel && m_cancel->load(); }

int InternetSession::OnProgress(void* session, long long, long long, long long, long long) {
  return static_cast<InternetSession*>(session)->IsCancelled() ? 1 : 0;
}

CURL* InternetSession::PrepareTransfer() {
  if (!m_curl) throw InternetException(1, "the Internet session is closed");
  curl_easy_reset(m_curl);
  curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(m_curl, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(m_curl, CURLOPT_USERAGENT, m_options.userAgent.c_str());
  curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_options.connectTimeout.count()));
  curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, WholeSeconds(m_options.stallTimeout));
  curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(m_options.stallTimeout));
  curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &InternetSession::OnProgress);
  curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
  return m_curl;
}

std::unique_ptr<HttpFile> InternetSession::OpenURL(const std::string& address) {
  CURL* curl = PrepareTransfer();
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, m_options.maxRedirects);
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  return HttpFile::Open(curl, address);
}

std::unique_ptr<FtpConnection> InternetSession::GetFtpConnection(const std::string& server,
                                                                 const std::string& userName,
                                                                 const std::string& password,
                                                                 std::uint16_t port) {
  return FtpConnection::Connect(*this, server, userName, password, port);
}
