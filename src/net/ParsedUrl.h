#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Https is asked only when the user opted in; every other scheme is never asked.
enum class ServiceType { Http, Https, Ftp, Other };

// An address split into the parts a query needs, by curl's own URL parser so
// that what we accept is exactly what curl will later request.
struct ParsedUrl {
  ServiceType service = ServiceType::Other;
  std::string scheme;
  std::string server;      // as curl gives it (IPv6 literals keep their brackets)
  std::string objectPath;  // percent-decoded, with its leading "/"; for FTP without ";type=…"
  std::uint16_t port = 0;  // the address's port, else the scheme's default (0 if none is known)
  std::string userName;    // percent-decoded; empty when absent
  std::string password;    // percent-decoded; empty when absent

  // Nothing for text that is no address: no scheme, blanks, control bytes, a
  // server that holds control bytes, or an FTP path or login that decodes to
  // control bytes (those would end up as command lines on the FTP control
  // connection). Other schemes may carry encoded control bytes in path and login:
  // they are sent encoded, and the decoded parts here are only for FTP.
  static std::optional<ParsedUrl> Parse(const std::string& address);
};
