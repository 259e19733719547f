#pragma once

#include <optional>
#include <string>
#include <vector>

// quorvane-size [--language FILE] [--no-group] [--https] ADDRESS
struct CliOptions {
  std::optional<std::string> languageFile;
  bool groupDigits = true;
  bool asksHttps = false;
  bool help = false;
  std::string address;

  static constexpr const char* kUsage =
      "Usage: quorvane-size [--language FILE] [--no-group] [--https] ADDRESS\n"
      "Asks an HTTP or FTP server how large the file at ADDRESS is, without downloading it.\n"
      "Progress goes to standard error, one line per step; the size goes to standard output.\n"
      "  --language FILE  use the texts of this language file instead of the built-in ones\n"
      "  --no-group       write the size without blanks between groups of three digits\n"
      "  --https          ask https addresses too (certificates are verified; CURL_CA_BUNDLE\n"
      "                   or SSL_CERT_FILE names another authority bundle)\n"
      "  --help           show this text\n"
      "Exit status: 0 size shown, 1 no size, 2 bad address or command line,\n"
      "3 neither an http nor an ftp address, nor an https one with --https (nothing is asked).\n";

  // Nothing when the command line is wrong.
  static std::optional<CliOptions> Parse(const std::vector<std::string>& arguments);
};
