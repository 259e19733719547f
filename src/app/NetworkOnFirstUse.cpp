#include "app/NetworkOnFirstUse.h"

#include <cstdio>
#include <thread>

#include "core/ModuleBeside.h"
#include "app/NetworkModule.h"

#ifndef QUORVANE_NETWORK_MODULE
#error "QUORVANE_NETWORK_MODULE names the module's file"
#endif

const NetworkModule& NetworkOnFirstUse::Network() {
  std::call_once(m_loadOnce, [this] {
    const char* error = nullptr;
    const auto entry = reinterpret_cast<const NetworkModule* (*)()>(
        LoadModuleBeside(QUORVANE_NETWORK_MODULE, kNetworkModuleEntry, &error));
    if (!entry) {
      // As a missing shared library would stop the program at its start.
      std::fprintf(stderr, "quorvane: cannot load the network code: %s\n", error);
      std::_Exit(127);
    }
    m_module = entry();
  });
  return *m_module;
}

void NetworkOnFirstUse::Load() { Network(); }

void NetworkOnFirstUse::StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) {
  std::thread([this, view = std::move(view), onEnd = std::move(onEnd)] {
    Network().querySizeThread(*view);
    if (onEnd) onEnd();
  }).detach();
}

ClipboardCapture NetworkOnFirstUse::CaptureFromClipboard(const std::string& clipboardText,
                                                         const std::string& urlBoxText, bool asksHttps) {
  return Network().captureFromClipboard(clipboardText, urlBoxText, asksHttps);
}

NetworkOnFirstUse::~NetworkOnFirstUse() {
  // Only when it was loaded: the end is no reason to load it.
  bool loaded = true;
  std::call_once(m_loadOnce, [&loaded] { loaded = false; });
  if (loaded && m_module) m_module->end();
}
