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
  if (scheme == "ftp") return ServiceType::Ftp;
  return ServiceType::Other;
}

}  // namespace

std::optional<ParsedUrl> ParsedUrl::Parse(const std::string& address) {
  if (HasControlByte(address)) return std::nullopt;
  CurlUrl url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return std::nullopt;

  ParsedUrl parsed;
  std::string port;
  if (!GetPart(url.get(), CURLUPART_SCHEME, 0, parsed.scheme) ||
      !GetPart(url.get(), CURLUPART_HOST, 0, parsed.server) ||
      !GetPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT, port) ||
      !GetPart(url.get(), CURLUPART_PATH, CURLU_URLDECODE, parsed.objectPath) ||
      !GetPart(url.get(), CURLUPART_USER, CURLU_URLDECODE, parsed.userName) ||
      !GetPart(url.get(), CURLUPART_PASSWORD, CURLU_URLDECODE, parsed.password))
    return std::nullopt;
  if (HasControlByte(parsed.server) || HasControlByte(parsed.objectPath) || HasControlByte(parsed.userName) ||
      HasControlByte(parsed.password))
    return std::nullopt;

  parsed.service = ServiceOf(parsed.scheme);
  parsed.port = port.empty() ? 0 : static_cast<std::uint16_t>(std::stoul(port));
  if (parsed.objectPath.empty()) parsed.objectPath = "/";
  return parsed;
}
