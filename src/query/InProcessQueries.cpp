#include "query/InProcessQueries.h"

#include <thread>

#include "query/QuerySizeThread.h"
#include "query/SizeQueryView.h"

void InProcessQueries::StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) {
  std::thread([view = std::move(view), onEnd = std::move(onEnd)] {
    QuerySizeThread(*view);
    if (onEnd) onEnd();
  }).detach();
}

ClipboardCapture InProcessQueries::CaptureFromClipboard(const std::string& clipboardText,
                                                        const std::string& urlBoxText, bool asksHttps) {
  return ::CaptureFromClipboard(clipboardText, urlBoxText, asksHttps);
}
