#include "core/HandlerCommandLine.h"

#include <cstring>

namespace {

bool StandsForTarget(char code) { return std::strchr("uUfF", code) != nullptr && code != '\0'; }

// A word that is only a field code other than the target's: nothing of ours fills it.
bool IsOtherFieldCode(const std::string& word) {
  return word.size() == 2 && word[0] == '%' && std::strchr("ickdDnNvm", word[1]) != nullptr && word[1] != '\0';
}

std::string WithPercentSigns(const std::string& word) {
  std::string result;
  for (std::size_t i = 0; i < word.size(); ++i) {
    result += word[i];
    if (word[i] == '%' && i + 1 < word.size() && word[i + 1] == '%') ++i;
  }
  return result;
}

}  // namespace

std::string CutAtPlaceholder(const std::string& command) {
  std::size_t bare = std::string::npos;
  for (std::size_t i = 0; i + 1 < command.size(); ++i) {
    if (command[i] != '%') continue;
    if (command[i + 1] == '%') {  // a percent sign, no code
      ++i;
      continue;
    }
    if (!StandsForTarget(command[i + 1])) continue;
    if (i > 0 && command[i - 1] == '"' && i + 2 < command.size() && command[i + 2] == '"')
      return command.substr(0, i - 1);  // the quoted form wins wherever it stands
    if (bare == std::string::npos) bare = i;
  }
  return bare == std::string::npos ? command : command.substr(0, bare);
}

std::string HandlerCommandLine(const std::string& command, const std::string& target) {
  return CutAtPlaceholder(command) + " " + target;
}

std::optional<std::vector<std::string>> SplitCommandWords(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < command.size() && std::strchr("\"`$\\", command[i + 1])) {
        word += command[++i];
      } else {
        word += c;
      }
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(word);

  std::vector<std::string> kept;
  for (const std::string& each : words)
    if (!IsOtherFieldCode(each)) kept.push_back(WithPercentSigns(each));
  if (kept.empty() || kept.front().empty()) return std::nullopt;
  return kept;
}

std::optional<HandlerLaunch> HandlerLaunchFor(const std::string& command, const std::string& target) {
  std::optional<std::vector<std::string>> words = SplitCommandWords(CutAtPlaceholder(command));
  if (!words) return std::nullopt;
  HandlerLaunch launch;
  launch.program = words->front();
  launch.arguments.assign(words->begin() + 1, words->end());
  launch.arguments.push_back(target);
  return launch;
}
