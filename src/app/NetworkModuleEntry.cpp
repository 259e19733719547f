// The network module's entry: everything else in it stays inside it.
#include <curl/curl.h>

#include <mutex>

#include "app/NetworkModule.h"

namespace {

std::once_flag s_curlReady;
bool s_curlStarted = false;

// libcurl's global start (TLS among it, and most of what libcurl takes in memory) comes with
// the first query, on that query's thread; the address rule's URL parser needs none of it.
SizeQueryOutcome Query(SizeQueryView& view) {
  std::call_once(s_curlReady, [] { s_curlStarted = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return QuerySizeThread(view);
}

// Only a start that happened is ended; the end is no reason to start.
void End() {
  std::call_once(s_curlReady, [] {});
  if (s_curlStarted) curl_global_cleanup();
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const NetworkModule* QuorvaneNetworkModule() {
  static const NetworkModule module{&Query, &CaptureFromClipboard, &End};
  return &module;
}
