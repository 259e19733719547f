#include "cli/CliOptions.h"

std::optional<CliOptions> CliOptions::Parse(const std::vector<std::string>& arguments) {
  CliOptions options;
  bool haveAddress = false;
  bool onlyAddressesFollow = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!onlyAddressesFollow && argument == "--help") {
      options.help = true;
    } else if (!onlyAddressesFollow && argument == "--no-group") {
      options.groupDigits = false;
    } else if (!onlyAddressesFollow && argument == "--version") {
      options.version = true;
    } else if (!onlyAddressesFollow && argument == "--human") {
      options.human = true;
    } else if (!onlyAddressesFollow && argument == "--https") {
      options.asksHttps = true;
    } else if (!onlyAddressesFollow && argument == "--language") {
      if (++i == arguments.size()) return std::nullopt;
      options.languageFile = arguments[i];
    } else if (!onlyAddressesFollow && argument == "--") {
      onlyAddressesFollow = true;
    } else if (!onlyAddressesFollow && argument.starts_with("--")) {
      return std::nullopt;
    } else {
      if (haveAddress) return std::nullopt;
      options.address = argument;
      haveAddress = true;
    }
  }
  if (!haveAddress && !options.help && !options.version) return std::nullopt;
  return options;
}
