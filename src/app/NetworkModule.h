#pragma once

#include <string>

#include "query/ClipboardCaptureRule.h"
#include "query/QuerySizeThread.h"

class SizeQueryView;

// The window's network code (the size query and the address rule, over libcurl and its
// library tree) lives in a module of its own beside the executable. The window loads it
// the first time it asks a size or reads an address, so a start that asks nothing never
// maps libcurl. Both sides are built from the same sources by the same compiler.
struct NetworkModule {
  SizeQueryOutcome (*querySizeThread)(SizeQueryView& view);
  ClipboardCapture (*captureFromClipboard)(const std::string& clipboardText, const std::string& urlBoxText,
                                           bool asksHttps);
  void (*end)();  // once, when the process ends normally
};

// The module's one exported name: the table, with libcurl set up.
extern "C" const NetworkModule* QuorvaneNetworkModule();
inline constexpr const char* kNetworkModuleEntry = "QuorvaneNetworkModule";
