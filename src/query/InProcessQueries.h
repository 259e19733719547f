#pragma once

#include "query/QueryService.h"

// The network code linked into the process itself.
class InProcessQueries final : public QueryService {
 public:
  void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) override;
  ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                        bool asksHttps) override;
};
