#include "app/StartupHandOff.h"

#include <cstdio>

#include "core/ProgramLocation.h"
#include "core/ProgramSettings.h"
#include "core/SettingsForReading.h"
#include "handoff/InstanceHandOff.h"

#ifndef QUORVANE_QT_SETTINGS_MODULE
#error "QUORVANE_QT_SETTINGS_MODULE names the Qt settings module's file"
#endif

namespace {

// How long a second copy waits for the running one: long enough for a busy
// machine, short enough that a hung copy does not leave starts hanging for good.
constexpr int kHandOffTimeoutMs = 10000;

}  // namespace

std::optional<int> HandOffBeforeTheWindow(const std::optional<std::string>& startAddress) {
  ProgramSettings settings;
  settings.Load(*OpenSettingsForReading(BesideProgram(QUORVANE_QT_SETTINGS_MODULE)));
  if (!settings.SingleInstance) return std::nullopt;
  switch (HandOffToRunningCopy(startAddress, kHandOffTimeoutMs)) {
    case HandOffResult::HandedOver:
      return 0;
    case HandOffResult::NoAnswer:
      std::fprintf(stderr, "%s: the running copy did not answer; nothing was handed over.\n", ProgramTitle().c_str());
      return 1;
    case HandOffResult::NoRunningCopy:
      break;
  }
  return std::nullopt;
}
