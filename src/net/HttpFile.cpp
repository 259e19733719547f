#include "net/HttpFile.h"

#include <curl/curl.h>

#include <charconv>
#include <string_view>

#include "net/InternetException.h"
#include "net/InternetSession.h"

namespace {

// The header callback sees every head curl reads (interim answers and redirects
// included; a proxy's CONNECT answers are suppressed). Each head ends with its
// blank line; there curl has parsed the head, and curl is asked what it holds
// for that response: its status code, its Location and its Content-Length
// (curl_easy_header with request -1, origin CURLH_HEADER: the current response's
// own headers, not those of a 1xx before it). At the blank line of the final
// head the transfer stops, so the body is never read.
struct HeadReader {
  CURL* curl = nullptr;
  bool headComplete = false;
  bool bodyStarted = false;  // a non-HTTP final answer (a redirect to FTP) has no head
  long statusCode = 0;
  std::optional<std::uint64_t> contentLength;
  std::optional<std::uint64_t> rangeTotal;
  AnswerFacts facts;

  // Returns false to stop the transfer: the final head is complete.
  bool TakeLine(std::string_view line) {
    if (line != "\r\n" && line != "\n") return true;
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    // Interim answers and redirects that curl will follow are not the final head.
    if (code >= 100 && code < 200) return true;
    if (code >= 300 && code < 400 && CurlFollows()) return true;
    statusCode = code;
    ReadFinalHead();
    headComplete = true;
    return false;
  }

  void ReadFinalHead() {
    contentLength = ReadContentLength();
    if (const auto range = Value("Content-Range")) rangeTotal = HttpFile::ParseContentRangeTotal(*range);
    facts.contentType = Value("Content-Type");
    facts.lastModified = ReadLastModified();
    facts.acceptsRanges = ReadAcceptsRanges();
  }

  std::optional<std::string> Value(const char* name) const {
    const curl_header* header = Header(name, 0);
    if (!header || !header->value) return std::nullopt;
    return std::string(header->value);
  }

  // An HTTP date as curl reads one; a date curl cannot read, or one before 1970, is none.
  std::optional<std::int64_t> ReadLastModified() const {
    const auto value = Value("Last-Modified");
    if (!value) return std::nullopt;
    const time_t seconds = curl_getdate(value->c_str(), nullptr);
    if (seconds < 0) return std::nullopt;
    return static_cast<std::int64_t>(seconds);
  }

  // "bytes" among the units the server names; "none" or any other unit is a no.
  std::optional<bool> ReadAcceptsRanges() const {
    const auto value = Value("Accept-Ranges");
    if (!value) return std::nullopt;
    std::string_view units(*value);
    while (!units.empty()) {
      const auto comma = units.find(',');
      std::string_view unit = units.substr(0, comma);
      while (!unit.empty() && (unit.front() == ' ' || unit.front() == '\t')) unit.remove_prefix(1);
      while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\t' || unit.back() == '\r')) unit.remove_suffix(1);
      if (unit.size() == 5 && curl_strnequal(unit.data(), "bytes", 5)) return true;
      if (comma == std::string_view::npos) break;
      units.remove_prefix(comma + 1);
    }
    return false;
  }

  const curl_header* Header(const char* name, std::size_t index) const {
    curl_header* header = nullptr;
    if (curl_easy_header(curl, name, index, CURLH_HEADER, -1, &header) != CURLHE_OK) return nullptr;
    return header;
  }

  // curl follows a 3xx whose first Location is not empty once trimmed. curl 7.88
  // trims the values it keeps, but leaves the CR of a value that is empty
  // ("Location:\r\n"), so blanks and line ends are taken off here as well.
  bool CurlFollows() const {
    const curl_header* location = Header("Location", 0);
    if (!location || !location->value) return false;
    for (const char* c = location->value; *c; ++c)
      if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n') return true;
    return false;
  }

  // Every Content-Length value of the response must read as the same number
  // (several headers, or a comma-separated list, as RFC 9110 allows); otherwise
  // the answer carries no readable length.
  std::optional<std::uint64_t> ReadContentLength() const {
    const curl_header* first = Header("Content-Length", 0);
    if (!first) return std::nullopt;
    const std::size_t amount = first->amount;
    std::optional<std::uint64_t> length;
    for (std::size_t index = 0; index < amount; ++index) {
      const curl_header* header = Header("Content-Length", index);
      if (!header || !header->value) return std::nullopt;
      std::string_view values(header->value);
      while (true) {
        const auto comma = values.find(',');
        const auto value = ParseLength(values.substr(0, comma));
        if (!value || (length && *length != *value)) return std::nullopt;
        length = value;
        if (comma == std::string_view::npos) break;
        values.remove_prefix(comma + 1);
      }
    }
    return length;
  }

 public:
  // Decimal digits only (1*DIGIT), blanks around them allowed, unsigned 64-bit.
  static std::optional<std::uint64_t> ParseLength(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' ||
                              value.back() == '\n'))
      value.remove_suffix(1);
    if (value.empty() || value.front() < '0' || value.front() > '9') return std::nullopt;
    std::uint64_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
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

std::string EffectiveUrl(CURL* curl) {
  const char* url = nullptr;
  curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &url);
  return url ? url : "";
}

bool IsHttpScheme(CURL* curl) {
  const char* scheme = nullptr;
  curl_easy_getinfo(curl, CURLINFO_SCHEME, &scheme);
  return scheme && (curl_strequal(scheme, "http") || curl_strequal(scheme, "https"));
}

}  // namespace

std::optional<std::uint64_t> HttpFile::ParseContentLength(std::string_view value) {
  return HeadReader::ParseLength(value);
}

std::optional<std::uint64_t> HttpFile::ParseContentRangeTotal(std::string_view value) {
  const auto number = [&value](char end) -> std::optional<std::uint64_t> {
    const std::size_t stop = end ? value.find(end) : value.size();
    if (stop == std::string_view::npos || stop == 0) return std::nullopt;
    std::uint64_t result = 0;
    const auto [last, error] = std::from_chars(value.data(), value.data() + stop, result);
    if (error != std::errc() || last != value.data() + stop || value.front() < '0' || value.front() > '9')
      return std::nullopt;
    value.remove_prefix(stop + (end ? 1 : 0));
    return result;
  };
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r' || value.back() == '\n'))
    value.remove_suffix(1);
  if (value.size() < 6 || !curl_strnequal(value.data(), "bytes ", 6)) return std::nullopt;
  value.remove_prefix(6);
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  const auto first = number('-');
  const auto last = first ? number('/') : std::nullopt;
  const auto total = last ? number('\0') : std::nullopt;
  if (!total || *first > *last || *last >= *total) return std::nullopt;
  return total;
}

std::unique_ptr<HttpFile> HttpFile::Open(InternetSession& session, CURL* curl, const std::string& address) {
  HeadReader reader;
  reader.curl = curl;
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reader);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reader);
  const CURLcode result = session.Perform();

  const bool answered = reader.headComplete || reader.bodyStarted || result == CURLE_OK;
  if (!answered) throw InternetException(result, curl_easy_strerror(result));

  if (!IsHttpScheme(curl)) {
    // Redirected to FTP: there is no HTTP status, only the size the server reported.
    curl_off_t length = -1;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    std::optional<std::uint64_t> size;
    if (length >= 0) size = static_cast<std::uint64_t>(length);
    AnswerFacts facts;
    facts.finalAddress = EffectiveUrl(curl);
    long reply = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply);
    if (reply > 0) facts.replyCode = reply;
    return std::unique_ptr<HttpFile>(new HttpFile(std::nullopt, size, std::nullopt, std::move(facts)));
  }
  long code = reader.statusCode;
  if (!reader.headComplete) {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    reader.ReadFinalHead();
  }
  std::optional<std::uint32_t> status;
  if (code > 0) status = static_cast<std::uint32_t>(code);
  reader.facts.finalAddress = EffectiveUrl(curl);
  if (status) reader.facts.replyCode = code;
  return std::unique_ptr<HttpFile>(
      new HttpFile(status, reader.contentLength, reader.rangeTotal, std::move(reader.facts)));
}

bool HttpFile::QueryInfoContentLength(std::uint64_t& length) const {
  if (!m_contentLength) return false;
  length = *m_contentLength;
  return true;
}

bool HttpFile::QueryInfoRangeTotal(std::uint64_t& total) const {
  if (!m_rangeTotal) return false;
  total = *m_rangeTotal;
  return true;
}

bool HttpFile::QueryInfoStatusCode(std::uint32_t& statusCode) const {
  if (!m_statusCode) return false;
  statusCode = *m_statusCode;
  return true;
}
