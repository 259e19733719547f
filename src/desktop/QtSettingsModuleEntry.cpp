// The Qt settings module's entry: everything else in it stays inside it.
#include "desktop/QtProfileStore.h"
#include "core/QtSettingsModule.h"

namespace {

ProfileStore* Open() { return new QtProfileStore(QtProfileStore::ProgramProfile()); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const QtSettingsModule* QuorvaneQtSettingsModule() {
  static const QtSettingsModule module{&Open};
  return &module;
}
