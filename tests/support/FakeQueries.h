#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "query/QueryService.h"
#include "query/SizeQueryView.h"

// A query service for window tests where no network is what they test. Each query keeps to
// the one-query guard, reads its view's address, turns the buttons off and says what it
// asks in the status line, then holds until Release() (or a cancel); then the buttons come
// back and it ends. The clipboard rule is the real one: it asks no server.
class FakeQueries final : public QueryService {
 public:
  ~FakeQueries() override {
    Release();
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [this] { return m_running == 0; });
  }

  void StartSizeQuery(std::shared_ptr<SizeQueryView> view, std::function<void()> onEnd) override {
    {
      std::lock_guard lock(m_lock);
      ++m_running;
    }
    std::thread([this, view = std::move(view), onEnd = std::move(onEnd)] {
      if (view->TryBeginQuery()) {
        Hold(*view);
        view->EndQuery();
      }
      if (onEnd) onEnd();
      std::lock_guard lock(m_lock);
      --m_running;
      m_changed.notify_all();
    }).detach();
  }

  ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                        bool asksHttps) override {
    return ::CaptureFromClipboard(clipboardText, urlBoxText, asksHttps);
  }

  // Lets every query that holds, and every later one, end.
  void Release() {
    std::lock_guard lock(m_lock);
    m_released = true;
    m_changed.notify_all();
  }
  // The addresses asked so far, in order.
  std::vector<std::string> Asked() {
    std::lock_guard lock(m_lock);
    return m_asked;
  }

 private:
  void Hold(SizeQueryView& view) {
    const std::string address = view.ReadAddress();
    {
      std::lock_guard lock(m_lock);
      m_asked.push_back(address);
    }
    view.SetQueryButtonsEnabled(false);
    view.SetStatusText("asked " + address);
    {
      // A cancel sets the view's flag without a word to us, so it is looked at now and then.
      std::unique_lock lock(m_lock);
      while (!m_released && !view.CancelFlag())
        m_changed.wait_for(lock, std::chrono::milliseconds(10));
    }
    view.SetQueryButtonsEnabled(true);
  }

  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<std::string> m_asked;
  int m_running = 0;
  bool m_released = false;
};
