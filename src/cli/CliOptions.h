#pragma once

#include <optional>
#include <string>
#include <vector>

// quorvane-size [--language FILE] [--no-group] [--https] [--human] [--version] ADDRESS
struct CliOptions {
  std::optional<std::string> languageFile;
  bool groupDigits = true;
  bool asksHttps = false;
  bool human = false;
  bool help = false;
  bool version = false;
  std::string address;

  static constexpr const char* kUsage =
      "Usage: quorvane-size [--language FILE] [--no-group] [--https] [--human] ADDRESS\n"
      "       quorvane-size --version | --help\n"
      "Asks an HTTP or FTP server how large the file at ADDRESS is, without downloading it.\n"
      "Progress goes to standard error, one line per step; the size goes to standard output.\n"
      "  --language FILE  use the texts of this language file; without it, the language file\n"
      "                   the window is set to use\n"
      "  --no-group       write the size without blanks between groups of three digits\n"
      "  --https          ask https addresses too (certificates are verified; CURL_CA_BUNDLE\n"
      "                   or SSL_CERT_FILE names another authority bundle)\n"
      "  --human          write the size in binary units too: \"4.66 GiB (5 000 000 000 bytes)\"\n"
      "  --version        show the version\n"
      "  --help           show this text\n"
      "Exit status: 0 size shown, 1 no size, 2 bad address or command line,\n"
      "3 neither an http nor an ftp address, nor an https one with --https (nothing is asked).\n";

  // Nothing when the command line is wrong.
  static std::optional<CliOptions> Parse(const std::vector<std::string>& arguments);
};
