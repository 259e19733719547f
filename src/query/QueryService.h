#pragma once

#include <functional>
#include <memory>
#include <string>

#include "query/ClipboardCaptureRule.h"

class SizeQueryView;

// What a window asks of the network code: a size query on a thread of its own, and the
// rule that decides what a clipboard text is. The window is handed one; the program's
// loads the network code the first time it is asked, tests and the terminal front end
// run the same code in their own process.
class QueryService {
 public:
  virtual ~QueryService() = default;

  // Runs a query on a thread of its own; the thread keeps the view alive until it ends,
  // then calls `onEnd` (if given) on that thread.
  virtual void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) = 0;
  virtual ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                                bool asksHttps) = 0;
};
