// The window's calls into the network code: the module is loaded on the first of them.
// A size query loads it on its own thread, so the window never waits for the load; the
// clipboard rule, which runs on the UI thread, waits for it once (a local library, no
// network).
#include <dlfcn.h>

#include <QFileInfo>

#include <cstdio>
#include <mutex>
#include <thread>

#include "app/NetworkModule.h"

#ifndef QUORVANE_NETWORK_MODULE
#error "QUORVANE_NETWORK_MODULE names the module's file"
#endif

namespace {

std::once_flag s_loadOnce;
const NetworkModule* s_module = nullptr;

// Beside the real executable, links resolved: bin/quorvane may be a link to it.
QByteArray ModulePath() {
  const QFileInfo executable(QFileInfo("/proc/self/exe").canonicalFilePath());
  return QFile::encodeName(executable.absolutePath() + "/" + QUORVANE_NETWORK_MODULE);
}

const NetworkModule& Network() {
  std::call_once(s_loadOnce, [] {
    const QByteArray path = ModulePath();
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = handle ? reinterpret_cast<const NetworkModule* (*)()>(dlsym(handle, kNetworkModuleEntry)) : nullptr;
    if (!entry) {
      // As a missing shared library would stop the program at its start.
      std::fprintf(stderr, "quorvane: cannot load the network code %s: %s\n", path.constData(), dlerror());
      std::_Exit(127);
    }
    s_module = entry();
  });
  return *s_module;
}

}  // namespace

void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) {
  std::thread([view = std::move(view), onEnd = std::move(onEnd)] {
    Network().querySizeThread(*view);
    if (onEnd) onEnd();
  }).detach();
}

ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                      bool asksHttps) {
  return Network().captureFromClipboard(clipboardText, urlBoxText, asksHttps);
}

void EndNetworkModule() {
  // Only when it was loaded: the end is no reason to load it.
  bool loaded = true;
  std::call_once(s_loadOnce, [&loaded] { loaded = false; });
  if (loaded && s_module) s_module->end();
}
