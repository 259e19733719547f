#include "cli/CliOptions.h"

#include <charconv>

namespace {

// 1 to kMaxParallel, digits only.
std::optional<unsigned> ParseParallel(const std::string& text) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < 1 || value > CliOptions::kMaxParallel) return std::nullopt;
  return value;
}

}  // namespace

std::optional<CliOptions> CliOptions::Parse(const std::vector<std::string>& arguments) {
  CliOptions options;
  bool onlyAddressesFollow = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isOption = !onlyAddressesFollow && argument.starts_with("--");
    const bool takesValue = isOption && (argument == "--language" || argument == "--input" || argument == "--parallel");
    if (takesValue && i + 1 == arguments.size()) return std::nullopt;
    if (!isOption) {
      options.addresses.push_back(argument);
    } else if (argument == "--") {
      onlyAddressesFollow = true;
    } else if (argument == "--help") {
      options.help = true;
    } else if (argument == "--no-group") {
      options.groupDigits = false;
    } else if (argument == "--version") {
      options.version = true;
    } else if (argument == "--human") {
      options.human = true;
    } else if (argument == "--https") {
      options.asksHttps = true;
    } else if (argument == "--fallback") {
      options.asksOtherWays = true;
    } else if (argument == "--json") {
      options.json = true;
    } else if (argument == "--total") {
      options.total = true;
    } else if (argument == "--quiet") {
      options.quiet = true;
    } else if (argument == "--language") {
      options.languageFile = arguments[++i];
    } else if (argument == "--input") {
      if (options.inputFile) return std::nullopt;
      options.inputFile = arguments[++i];
    } else if (argument == "--parallel") {
      const auto parallel = ParseParallel(arguments[++i]);
      if (!parallel) return std::nullopt;
      options.parallel = *parallel;
    } else {
      return std::nullopt;
    }
  }
  if (options.addresses.empty() && !options.inputFile && !options.help && !options.version) return std::nullopt;
  return options;
}

bool CliOptions::AsksQuiet(const std::vector<std::string>& arguments) {
  for (const auto& argument : arguments) {
    if (argument == "--") return false;
    if (argument == "--quiet") return true;
  }
  return false;
}
