// The network module's entry: everything else in it stays inside it.
#include <curl/curl.h>

#include "app/NetworkModule.h"

namespace {

void End() { curl_global_cleanup(); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const NetworkModule* QuorvaneNetworkModule() {
  // The loader calls this once, before any transfer exists.
  static const NetworkModule module = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    return NetworkModule{&QuerySizeThread, &CaptureFromClipboard, &End};
  }();
  return &module;
}
