#pragma once

#include <mutex>

#include "query/QueryService.h"

struct NetworkModule;

// The window's network code, loaded from its module beside the executable the first time
// it is asked: a start that asks nothing never maps libcurl. A size query loads it on its
// own thread, so the window never waits for the load; the clipboard rule, which runs on
// the UI thread, waits for it once (a local library, no network).
class NetworkOnFirstUse final : public QueryService {
 public:
  NetworkOnFirstUse() = default;
  // Ends libcurl if the module was ever loaded.
  ~NetworkOnFirstUse() override;
  NetworkOnFirstUse(const NetworkOnFirstUse&) = delete;
  NetworkOnFirstUse& operator=(const NetworkOnFirstUse&) = delete;

  // Loads the network code now, on the calling thread, unless it is loaded already.
  void Load();

  void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) override;
  ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                        bool asksHttps) override;

 private:
  const NetworkModule& Network();

  std::once_flag m_loadOnce;
  const NetworkModule* m_module = nullptr;
};
