#include "net/ParsedUrl.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

namespace {

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

// Missing parts come back as empty text; a part that cannot be given (for
// instance one that decodes to a control byte) is an error.
bool GetPart(CURLU* url, CURLUPart part, unsigned flags, std::string& value) {
  char* text = nullptr;
  const CURLUcode result = curl_url_get(url, part, &text, flags);
  if (result == CURLUE_OK) {
    value = text;
    curl_free(text);
    return true;
  }
  value.clear();
  return result == CURLUE_NO_USER || result == CURLUE_NO_PASSWORD || result == CURLUE_NO_PORT ||
         result == CURLUE_NO_HOST;
}

bool HasControlByte(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
}

ServiceType ServiceOf(const std::string& scheme) {
  if (scheme == "http") return ServiceType::Http;
  if (scheme == "https") return ServiceType::Https;
  if (scheme == "ftp") return ServiceType::Ftp;
  return ServiceType::Other;
}

// Percent-decoding as curl does it, without refusing anything: what is refused
// depends on where the text goes.
std::string Decode(const std::string& text) {
  int length = 0;
  char* decoded = curl_easy_unescape(nullptr, text.c_str(), static_cast<int>(text.size()), &length);
  if (!decoded) return text;
  std::string value(decoded, static_cast<std::size_t>(length));
  curl_free(decoded);
  return value;
}

// libcurl drops ";type=" and all after it from an FTP path (it only picks the
// transfer type from it), so the path that curl would ask for ends there too.
std::string WithoutFtpType(const std::string& encodedPath) {
  const auto type = encodedPath.find(";type=");
  return type == std::string::npos ? encodedPath : encodedPath.substr(0, type);
}

}  // namespace

std::optional<ParsedUrl> ParsedUrl::Parse(const std::string& address) {
  if (HasControlByte(address)) return std::nullopt;
  CurlUrl url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return std::nullopt;

  ParsedUrl parsed;
  std::string port;
  std::string path;
  std::string user;
  std::string password;
  if (!GetPart(url.get(), CURLUPART_SCHEME, 0, parsed.scheme) ||
      !GetPart(url.get(), CURLUPART_HOST, 0, parsed.server) ||
      !GetPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT, port) ||
      !GetPart(url.get(), CURLUPART_PATH, 0, path) || !GetPart(url.get(), CURLUPART_USER, 0, user) ||
      !GetPart(url.get(), CURLUPART_PASSWORD, 0, password))
    return std::nullopt;
  if (HasControlByte(parsed.server)) return std::nullopt;

  parsed.service = ServiceOf(parsed.scheme);
  if (parsed.service == ServiceType::Ftp) path = WithoutFtpType(path);
  parsed.objectPath = Decode(path);
  parsed.userName = Decode(user);
  parsed.password = Decode(password);
  // Over FTP the decoded path, user and password become command lines (LIST, USER,
  // PASS): a control byte there could end one command and start another. Over HTTP
  // curl sends the path as it was written, so an encoded byte stays encoded.
  if (parsed.service == ServiceType::Ftp &&
      (HasControlByte(parsed.objectPath) || HasControlByte(parsed.userName) || HasControlByte(parsed.password)))
    return std::nullopt;

  parsed.port = port.empty() ? 0 : static_cast<std::uint16_t>(std::stoul(port));
  // curl gives some schemes' paths without their "/" ("file:@@/x" has "@@/x").
  if (parsed.objectPath.empty() || parsed.objectPath.front() != '/') parsed.objectPath.insert(0, "/");
  return parsed;
}
