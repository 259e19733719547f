#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of the desktop's handler for web pages, made ready for one target.
//
// A handler's command names the place of the target with a field code (%u, %U, %f or %F).
// The target does not go there: the command is cut where that code begins ("%u" in
// quotation marks is cut at the opening mark), so the code and everything after it are
// dropped, and one blank and the target follow, the target unquoted. A command without
// such a code gets the blank and the target at its end.

// The command up to the place of the target, blank before the code included.
std::string CutAtPlaceholder(const std::string& command);

// The cut command, one blank, the target: the command line as one text.
std::string HandlerCommandLine(const std::string& command, const std::string& target);

// Splits a command into its words the way desktop entries quote them: words part at
// blanks; in "…" a backslash takes the next of " ` $ \ literally. A word that is a
// field code alone (%i, %c, %k and the deprecated ones) is dropped, "%%" is a percent
// sign. Nothing is expanded as a shell would: ; $() ' | stay the bytes they are.
// Empty when a quotation is not closed or no word is left.
std::optional<std::vector<std::string>> SplitCommandWords(const std::string& command);

struct HandlerLaunch {
  std::string program;
  std::vector<std::string> arguments;  // the target is the last, one argument whatever it holds
};

// The program and arguments to start for `target`; empty when the command is unusable.
std::optional<HandlerLaunch> HandlerLaunchFor(const std::string& command, const std::string& target);
