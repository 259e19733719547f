// quorvane-size: the size query from a terminal, on the same code as the window.
#include <curl/curl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>

#include "core/VersionText.h"
#include "cli/AddressLines.h"
#include "cli/CliOptions.h"
#include "cli/CliSizeView.h"
#include "cli/ListLineFormat.h"
#include "cli/ProgressLine.h"
#include "cli/SizeQueryBatch.h"
#include "cli/StopSignals.h"
#include "cli/WindowLanguage.h"
#include "core/LanguageTable.h"
#include "query/QuerySizeThread.h"

namespace {

int ExitStatus(SizeQueryOutcome outcome) {
  switch (outcome) {
    case SizeQueryOutcome::SizeShown: return 0;
    case SizeQueryOutcome::BadAddress: return 2;
    case SizeQueryOutcome::OtherService: return 3;
    case SizeQueryOutcome::Refused:
    case SizeQueryOutcome::NoSize: break;
  }
  return 1;
}

// 130 for SIGINT, 143 for SIGTERM, as a shell reports a program they ended.
[[noreturn]] void EndBySignal(int signal) { _exit(128 + signal); }

// One address: narrated step by step, answered as the size alone or as one JSON line.
int AskOne(const CliOptions& options, const LanguageTable& texts) {
  static std::ostream nowhere(nullptr);
  auto view = std::make_shared<CliSizeView>(options, texts, options.quiet ? nowhere : std::cerr,
                                            options.json ? nowhere : std::cout);
  StopSignals::Listen([view](int signal) {
    view->CancelQuery();
    EndBySignal(signal);
  });
  const SizeQueryOutcome outcome = QuerySizeThread(*view);
  if (options.json && view->Report()) std::cout << JsonLine(options.addresses.front(), *view->Report()) << std::endl;
  return ExitStatus(outcome);
}

int AskList(const CliOptions& options, const LanguageTable& texts) {
  ProgressLine progress(!options.quiet && isatty(STDERR_FILENO));
  SizeQueryBatch batch(options.parallel, {options.json, options.human, options.total}, texts,
                       {options.asksHttps, options.asksOtherWays}, progress);
  StopSignals::Listen([&batch](int signal) {
    batch.Interrupt();
    EndBySignal(signal);
  });
  int input = -1;
  if (options.inputFile && (input = AddressLines::Open(*options.inputFile)) < 0) {
    if (!options.quiet) std::cerr << "quorvane-size: " << *options.inputFile << ": " << std::strerror(errno) << "\n";
    return 2;
  }
  for (const auto& address : options.addresses) batch.Add({address, false});
  int readError = 0;
  if (input >= 0) {
    AddressLines lines(input);
    while (auto line = lines.Next()) batch.Add(std::move(*line));
    readError = lines.ReadError();
  }
  const bool allSized = batch.Finish();
  if (readError) {
    if (!options.quiet) std::cerr << "quorvane-size: " << *options.inputFile << ": " << std::strerror(readError) << "\n";
    return 2;
  }
  return allSized ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const auto options = CliOptions::Parse(arguments);
  if (!options) {
    if (!CliOptions::AsksQuiet(arguments)) std::cerr << CliOptions::kUsage;
    return 2;
  }
  if (options->help) {
    std::cout << CliOptions::kUsage;
    return 0;
  }
  if (options->version) {
    std::cout << "quorvane-size " << GetVersionText() << std::endl;
    return 0;
  }
  // Before any thread exists, so that every one of them leaves the two to the stop thread.
  StopSignals::Block();
  // The user's character set, as the window has it through Qt: libcurl converts
  // an international host name (IDN) from the locale's encoding, and in the "C"
  // locale it cannot. Only the character set: numbers and texts stay as they are.
  std::setlocale(LC_CTYPE, "");
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;

  LanguageTable texts;
  const bool quiet = options->quiet;
  texts.SetMissingFileHandler([quiet](const std::string& message) {
    if (!quiet) std::cerr << CliSizeView::OneLine(message) << std::endl;
  });
  if (options->languageFile) {
    texts.LoadFromPath(*options->languageFile, false);
  } else {
    WindowLanguage::Load(texts);
  }

  const int status = options->IsList() ? AskList(*options, texts) : AskOne(*options, texts);
  curl_global_cleanup();
  return status;
}
