#include "net/InternetSession.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "net/FtpConnection.h"
#include "net/HttpFile.h"
#include "net/InternetException.h"

namespace {

using Clock = std::chrono::steady_clock;

long WholeSeconds(std::chrono::milliseconds duration) {
  const auto seconds = std::chrono::ceil<std::chrono::seconds>(duration).count();
  return seconds < 1 ? 1 : static_cast<long>(seconds);
}

long Milliseconds(std::chrono::milliseconds duration) {
  return static_cast<long>(std::max<std::chrono::milliseconds::rep>(1, duration.count()));
}

// The authority bundle the curl tool would take from the environment.
const char* CaBundleFromEnvironment() {
  for (const char* name : {"CURL_CA_BUNDLE", "SSL_CERT_FILE"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return nullptr;
}

// Bounds what a server can push into an HTTP query's connection before the head is
// read and the connection closed: two windows, the one read with the head and the one
// that fills meanwhile (8 KiB from nginx for a 5 GB file). Linux doubles the value and
// offers half of the result as the window (4 KiB); set before the connect, it also
// makes the handshake offer no window scaling, so the window cannot grow later. A
// larger head still arrives whole, a window per round trip (a 100 KiB head: about 25).
// Below 4 KiB the bytes saved are few and every round trip of a long head costs more;
// at Linux's minimum the window halves again.
constexpr int kHttpReceiveBuffer = 4 * 1024;

int BoundReceiveBuffer(void*, curl_socket_t socket, curlsocktype purpose) {
  if (purpose == CURLSOCKTYPE_IPCXN)
    setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &kHttpReceiveBuffer, sizeof kHttpReceiveBuffer);
  return CURL_SOCKOPT_OK;
}

}  // namespace

InternetSession::InternetSession(InternetOptions options, TransferCancel* cancel)
    : m_options(std::move(options)),
      m_cancel(cancel),
      m_deadline(Clock::now() + m_options.queryDeadline),
      m_curl(curl_easy_init()),
      m_multi(curl_multi_init()) {
  if (m_cancel) m_cancel->Attach(this);
}

InternetSession::~InternetSession() { Close(); }

void InternetSession::Close() {
  if (m_cancel) m_cancel->Detach(this);
  // Sockets are ended first: curl would otherwise say goodbye to an FTP server
  // (QUIT) and wait for its answer, for minutes if the server keeps silent.
  ShutDownSockets();
  if (m_multi) curl_multi_cleanup(m_multi);
  if (m_curl) curl_easy_cleanup(m_curl);
  m_multi = nullptr;
  m_curl = nullptr;
  // What curl closed without the callback still has our duplicate open.
  std::lock_guard lock(m_socketsLock);
  for (const auto& [socket, duplicate] : m_sockets) close(duplicate);
  m_sockets.clear();
}

bool InternetSession::IsCancelled() const { return m_cancel && m_cancel->IsCancelled(); }

// Runs on the thread that cancels, while this session is attached.
void InternetSession::Wake() {
  if (m_multi) curl_multi_wakeup(m_multi);
  // For the few places where curl itself blocks on a socket (an FTP server's
  // reply after a listing, for instance), ending the socket ends the wait.
  ShutDownSockets();
}

void InternetSession::ShutDownSockets() {
  std::lock_guard lock(m_socketsLock);
  // A shutdown acts on the socket, so the duplicate ends curl's descriptor as well.
  for (const auto& [socket, duplicate] : m_sockets) shutdown(duplicate, SHUT_RDWR);
}

void InternetSession::ForgetSocket(int socket) {
  const auto known = m_sockets.find(socket);
  if (known == m_sockets.end()) return;
  close(known->second);
  m_sockets.erase(known);
}

// curl calls this at least once a second, also while it blocks inside a step of
// its own (an FTP reply it waits for), so the deadline holds there too.
int InternetSession::OnProgress(void* session, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* self = static_cast<InternetSession*>(session);
  return self->IsCancelled() || Clock::now() >= self->m_deadline ? 1 : 0;
}

curl_socket_t InternetSession::OpenSocket(void* session, curlsocktype, curl_sockaddr* address) {
  auto* self = static_cast<InternetSession*>(session);
  const int socket = ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (socket < 0) return CURL_SOCKET_BAD;
  const int duplicate = fcntl(socket, F_DUPFD_CLOEXEC, 0);
  if (duplicate < 0) {
    close(socket);
    return CURL_SOCKET_BAD;
  }
  std::lock_guard lock(self->m_socketsLock);
  // The same number again: curl closed the earlier socket without telling us.
  self->ForgetSocket(socket);
  self->m_sockets[socket] = duplicate;
  return socket;
}

int InternetSession::CloseSocket(void* session, curl_socket_t socket) {
  auto* self = static_cast<InternetSession*>(session);
  std::lock_guard lock(self->m_socketsLock);
  self->ForgetSocket(socket);
  return close(socket);
}

CURL* InternetSession::PrepareTransfer() {
  if (!m_curl || !m_multi) throw InternetException(1, "the Internet session is closed");
  if (IsCancelled()) throw InternetException(CURLE_ABORTED_BY_CALLBACK, "the query was cancelled");
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
  if (left.count() <= 0) throw InternetException(CURLE_OPERATION_TIMEDOUT, "the query took too long");

  curl_easy_reset(m_curl);
  curl_easy_setopt(m_curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(m_curl, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(m_curl, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(m_curl, CURLOPT_USERAGENT, m_options.userAgent.c_str());
  curl_easy_setopt(m_curl, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(m_options.connectTimeout));
  curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(m_curl, CURLOPT_LOW_SPEED_TIME, WholeSeconds(m_options.stallTimeout));
  curl_easy_setopt(m_curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(m_options.stallTimeout));
  curl_easy_setopt(m_curl, CURLOPT_ACCEPTTIMEOUT_MS, Milliseconds(m_options.stallTimeout));
  // The query's deadline is kept here, not as curl's CURLOPT_TIMEOUT_MS: in libcurl
  // 7.88 an overall timeout whose rest falls below the accept timeout replaces the
  // accept timeout, so an active-mode server that never connects would hold the
  // query until the deadline instead of the 30 s stall.
  // A proxy's answer to CONNECT is the proxy's, never the server's: keep it out of the head.
  curl_easy_setopt(m_curl, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (const char* bundle = CaBundleFromEnvironment()) curl_easy_setopt(m_curl, CURLOPT_CAINFO, bundle);
  curl_easy_setopt(m_curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(m_curl, CURLOPT_XFERINFOFUNCTION, &InternetSession::OnProgress);
  curl_easy_setopt(m_curl, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(m_curl, CURLOPT_OPENSOCKETFUNCTION, &InternetSession::OpenSocket);
  curl_easy_setopt(m_curl, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(m_curl, CURLOPT_CLOSESOCKETFUNCTION, &InternetSession::CloseSocket);
  curl_easy_setopt(m_curl, CURLOPT_CLOSESOCKETDATA, this);
  return m_curl;
}

CURLcode InternetSession::Perform() {
  if (IsCancelled()) return CURLE_ABORTED_BY_CALLBACK;
  if (curl_multi_add_handle(m_multi, m_curl) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLcode result = CURLE_OK;
  for (bool done = false; !done;) {
    int running = 0;
    if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == m_curl) {
        result = message->data.result;
        done = true;
      }
    }
    if (done) break;
    if (IsCancelled()) {
      result = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
    if (left.count() <= 0) {
      result = CURLE_OPERATION_TIMEDOUT;
      break;
    }
    // curl's own timers (connect, stall, accept) cut the wait shorter when they are
    // due; the cancel cuts it at once through curl_multi_wakeup.
    const int wait = static_cast<int>(std::min<std::chrono::milliseconds::rep>(left.count(), 1000));
    if (curl_multi_poll(m_multi, nullptr, 0, wait, nullptr) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
  }
  curl_multi_remove_handle(m_multi, m_curl);
  // The progress callback ends a transfer at the deadline as curl's abort; say what it was.
  if (result == CURLE_ABORTED_BY_CALLBACK && !IsCancelled() && Clock::now() >= m_deadline)
    result = CURLE_OPERATION_TIMEDOUT;
  return result;
}

std::unique_ptr<HttpFile> InternetSession::OpenURL(const std::string& address) {
  return OpenHttp(address, nullptr);
}

std::unique_ptr<HttpFile> InternetSession::OpenFirstByte(const std::string& address) {
  return OpenHttp(address, "0-0");
}

std::unique_ptr<HttpFile> InternetSession::OpenHttp(const std::string& address, const char* range) {
  CURL* curl = PrepareTransfer();
  if (range) curl_easy_setopt(curl, CURLOPT_RANGE, range);
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, m_options.maxRedirects);
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  // The GET ends at the head, but the server sends the body until the close: only
  // a small window keeps that from being megabytes on a fast link.
  curl_easy_setopt(curl, CURLOPT_SOCKOPTFUNCTION, &BoundReceiveBuffer);
  return HttpFile::Open(*this, curl, address);
}

std::unique_ptr<FtpConnection> InternetSession::GetFtpConnection(const std::string& server,
                                                                 const std::string& userName,
                                                                 const std::string& password,
                                                                 std::uint16_t port) {
  return FtpConnection::Connect(*this, server, userName, password, port);
}
