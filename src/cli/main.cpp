// quorvane-size: the size query from a terminal, on the same code as the window.
#include <curl/curl.h>

#include <clocale>
#include <iostream>

#include "cli/CliOptions.h"
#include "cli/CliSizeView.h"
#include "cli/WindowLanguage.h"
#include "app/VersionText.h"
#include "desktop/QtProfileStore.h"
#include "localisation/LanguageTable.h"
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

}  // namespace

int main(int argc, char* argv[]) {
  const auto options = CliOptions::Parse({argv + 1, argv + argc});
  if (!options) {
    std::cerr << CliOptions::kUsage;
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
  // The user's character set, as the window has it through Qt: libcurl converts
  // an international host name (IDN) from the locale's encoding, and in the "C"
  // locale it cannot. Only the character set: numbers and texts stay as they are.
  std::setlocale(LC_CTYPE, "");
  if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;

  LanguageTable texts;
  texts.SetMissingFileHandler([](const std::string& message) {
    std::cerr << CliSizeView::OneLine(message) << std::endl;
  });
  if (options->languageFile) {
    texts.LoadFromPath(*options->languageFile, false);
  } else {
    QtProfileStore settings = QtProfileStore::ProgramProfile();
    WindowLanguage::Load(settings, texts);
  }

  CliSizeView view(*options, texts, std::cerr, std::cout);
  const int status = ExitStatus(QuerySizeThread(view));
  curl_global_cleanup();
  return status;
}
