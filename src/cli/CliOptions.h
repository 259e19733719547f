#pragma once

#include <optional>
#include <string>
#include <vector>

// quorvane-size [options] ADDRESS... | --input FILE
struct CliOptions {
  static constexpr unsigned kDefaultParallel = 16;
  static constexpr unsigned kMaxParallel = 256;

  std::optional<std::string> languageFile;
  bool groupDigits = true;
  bool asksHttps = false;
  bool asksOtherWays = false;
  bool human = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> addresses;
  std::optional<std::string> inputFile;  // "-" is standard input
  unsigned parallel = kDefaultParallel;
  bool json = false;
  bool total = false;
  bool quiet = false;

  // One address on its own is narrated and answered as it always was; anything
  // else is a list: a line per address, in the order given.
  bool IsList() const { return addresses.size() != 1 || inputFile.has_value() || total; }

  static constexpr const char* kUsage =
      "Usage: quorvane-size [OPTION]... ADDRESS...\n"
      "       quorvane-size [OPTION]... --input FILE [ADDRESS]...\n"
      "       quorvane-size --version | --help\n"
      "Asks an HTTP or FTP server how large the file at ADDRESS is, without downloading it.\n"
      "One address: progress goes to standard error, one line per step, and the size to\n"
      "standard output.\n"
      "More than one address, --input or --total: a list. Each address gets one line on\n"
      "standard output, in the order given, as soon as it and all before it are answered:\n"
      "  SIZE<TAB>VERDICT<TAB>ADDRESS\n"
      "SIZE is the byte count without blanks, empty when there is none (sort -n, cut -f1);\n"
      "VERDICT is the last status text, empty when the address was not asked (another\n"
      "scheme); ADDRESS is the address as given, the rest of the line (cut -f3-). Up to\n"
      "--parallel addresses are asked at once; on a terminal, standard error shows how far\n"
      "the list has come.\n"
      "  --input FILE     read addresses from FILE, one a line (\"-\": standard input); blank\n"
      "                   lines and lines beginning with \"#\" are skipped; a line over 64 KiB\n"
      "                   is a bad address\n"
      "  --parallel N     ask at most N addresses at once, 1 to 256 (default 16)\n"
      "  --json           one JSON object a line instead (also for one address): address,\n"
      "                   final_address, size, verdict, verdict_id, outcome (size, no-size,\n"
      "                   bad-address, not-asked), status (HTTP status or FTP reply),\n"
      "                   content_type, last_modified (UTC), accepts_ranges; null where\n"
      "                   there is none\n"
      "  --total          add a last line: SUM<TAB>COUNT<TAB>total, the sizes found added up\n"
      "                   and the number of addresses without a size (with --json:\n"
      "                   {\"total\":SUM,\"without_size\":COUNT,\"addresses\":N})\n"
      "  --human          write sizes in binary units too: \"4.66 GiB (5 000 000 000 bytes)\";\n"
      "                   in a list, SIZE is \"4.66 GiB\"\n"
      "  --no-group       write the size without blanks between groups of three digits\n"
      "  --https          ask https addresses too (certificates are verified; CURL_CA_BUNDLE\n"
      "                   or SSL_CERT_FILE names another authority bundle)\n"
      "  --fallback       when the server does not say the size, ask once more in another\n"
      "                   way: a request for the first byte (HTTP), SIZE (FTP); only with\n"
      "                   this option, whatever the window's setting\n"
      "  --language FILE  use the texts of this language file; without it, the language file\n"
      "                   the window is set to use\n"
      "  --quiet          write nothing to standard error\n"
      "  --version        show the version\n"
      "  --help           show this text\n"
      "Exit status: 0 every address got a size, 1 at least one did not, 2 a bad command line\n"
      "or input file (or one address that is no address), 3 one address that is neither an\n"
      "http nor an ftp one, nor an https one with --https (nothing is asked); 130 and 143\n"
      "when SIGINT or SIGTERM ended the run.\n";

  // Nothing when the command line is wrong.
  static std::optional<CliOptions> Parse(const std::vector<std::string>& arguments);
  // Whether a command line asks for silence, also one that is wrong otherwise.
  static bool AsksQuiet(const std::vector<std::string>& arguments);
};
