#include "net/HttpFile.h"

#include <curl/curl.h>

#include <charconv>
#include <string_view>

#include "net/InternetException.h"

namespace {

// Follows the header lines of every response curl reads (interim answers and
// redirects included) and stops the transfer at the end of the final head.
struct HeadReader {
  CURL* curl = nullptr;
  bool headComplete = false;
  bool bodyStarted = false;  // a non-HTTP final answer (a redirect to FTP) has no head
  bool hasLocation = false;
  bool hasContentLength = false;
  std::optional<std::uint64_t> contentLength;

  void StartResponse() {
    hasLocation = false;
    hasContentLength = false;
    contentLength.reset();
  }

  // Returns false to stop the transfer: the final head is complete.
  bool TakeLine(std::string_view line) {
    if (line.starts_with("HTTP/")) {
      StartResponse();
    } else if (line == "\r\n" || line == "\n") {
      return !EndOfHead();
    } else if (HasName(line, "content-length:")) {
      if (!hasContentLength) contentLength = ParseLength(line.substr(15));
      hasContentLength = true;
    } else if (HasName(line, "location:")) {
      hasLocation = true;
    }
    return true;
  }

  // Interim answers and redirects that curl will follow are not the final head.
  bool EndOfHead() {
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    if (code >= 100 && code < 200) return false;
    if (code >= 300 && code < 400 && hasLocation) return false;
    headComplete = true;
    return true;
  }

  static bool HasName(std::string_view line, std::string_view lowerName) {
    if (line.size() < lowerName.size()) return false;
    for (std::size_t i = 0; i < lowerName.size(); ++i) {
      char c = line[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != lowerName[i]) return false;
    }
    return true;
  }

  static std::optional<std::uint64_t> ParseLength(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' ' ||
                              value.back() == '\t'))
      value.remove_suffix(1);
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (value.empty() || error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    return length;
  }
};

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* reader) {
  const std::size_t bytes = size * count;
  return static_cast<HeadReader*>(reader)->TakeLine({data, bytes}) ? bytes : 0;
}

std::size_t OnBody(char*, std::size_t, std::size_t, void* reader) {
  static_cast<HeadReader*>(reader)->bodyStarted = true;
  return 0;  // the body is never wanted
}

bool IsHttpScheme(CURL* curl) {
  const char* scheme = nullptr;
  curl_easy_getinfo(curl, CURLINFO_SCHEME, &scheme);
  return scheme && (curl_strequal(scheme, "http") || curl_strequal(scheme, "https"));
}

}  // namespace

std::unique_ptr<HttpFile> HttpFile::Open(CURL* curl, const std::string& address) {
  HeadReader reader;
  reader.curl = curl;
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reader);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reader);
  const CURLcode result = curl_easy_perform(curl);

  const bool answered = reader.headComplete || reader.bodyStarted || result == CURLE_OK;
  if (!answered) throw InternetException(result, curl_easy_strerror(result));

  if (!IsHttpScheme(curl)) {
    // Redirected to FTP: there is no HTTP status, only the size the server reported.
    curl_off_t length = -1;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    std::optional<std::uint64_t> size;
    if (length >= 0) size = static_cast<std::uint64_t>(length);
    return std::unique_ptr<HttpFile>(new HttpFile(std::nullopt, size));
  }
  long code = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
  std::optional<std::uint32_t> status;
  if (code > 0) status = static_cast<std::uint32_t>(code);
  return std::unique_ptr<HttpFile>(new HttpFile(status, reader.contentLength));
}

bool HttpFile::QueryInfoContentLength(std::uint64_t& length) const {
  if (!m_contentLength) return false;
  length = *m_contentLength;
  return true;
}

bool HttpFile::QueryInfoStatusCode(std::uint32_t& statusCode) const {
  if (!m_statusCode) return false;
  statusCode = *m_statusCode;
  return true;
}
