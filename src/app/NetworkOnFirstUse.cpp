// The window's calls into the network code: the module is loaded on the first of them.
// A size query loads it on its own thread, so the window never waits for the load; the
// clipboard rule, which runs on the UI thread, waits for it once (a local library, no
// network).
#include <cstdio>
#include <mutex>
#include <thread>

#include "app/ModuleBeside.h"
#include "app/NetworkModule.h"

#ifndef QUORVANE_NETWORK_MODULE
#error "QUORVANE_NETWORK_MODULE names the module's file"
#endif

namespace {

std::once_flag s_loadOnce;
const NetworkModule* s_module = nullptr;

const NetworkModule& Network() {
  std::call_once(s_loadOnce, [] {
    const char* error = nullptr;
    const auto entry = reinterpret_cast<const NetworkModule* (*)()>(
        LoadModuleBeside(QUORVANE_NETWORK_MODULE, kNetworkModuleEntry, &error));
    if (!entry) {
      // As a missing shared library would stop the program at its start.
      std::fprintf(stderr, "quorvane: cannot load the network code: %s\n", error);
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
