#include "app/StartupHandOff.h"

#include <QFileInfo>

#include <cstdio>

#include "app/ProgramSettings.h"
#include "desktop/InstanceHandOff.h"
#include "desktop/QtProfileStore.h"

namespace {

// How long a second copy waits for the running one: long enough for a busy
// machine, short enough that a hung copy does not leave starts hanging for good.
constexpr int kHandOffTimeoutMs = 10000;

// The executable's name without its extension, links resolved, as the window's title
// is; there is no application object to ask yet.
QString ExecutableTitle() { return QFileInfo(QFileInfo("/proc/self/exe").canonicalFilePath()).completeBaseName(); }

}  // namespace

std::optional<int> HandOffBeforeTheWindow(const std::optional<QByteArray>& startAddress) {
  QtProfileStore profile = QtProfileStore::ProgramProfile();
  ProgramSettings settings;
  settings.Load(profile);
  if (!settings.SingleInstance) return std::nullopt;
  switch (HandOffToRunningCopy(startAddress, kHandOffTimeoutMs)) {
    case HandOffResult::HandedOver:
      return 0;
    case HandOffResult::NoAnswer:
      std::fprintf(stderr, "%s: the running copy did not answer; nothing was handed over.\n",
                   qPrintable(ExecutableTitle()));
      return 1;
    case HandOffResult::NoRunningCopy:
      break;
  }
  return std::nullopt;
}
