#pragma once

#include <QString>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "query/SizeQueryView.h"

class CMainDialog;
class QObject;
class QueryService;

// The main window as a size query sees it. Query threads hold this link, not the
// window: every change runs on the UI thread while the thread waits, and once the
// window closes the link is cut, so a late query touches nothing that is gone.
//
// A change is handed to the UI thread through our own locked queue; Qt's event only
// wakes the UI thread and carries nothing, so every byte that crosses threads is
// guarded by synchronisation the sanitizers can see.
class MainDialogQueryLink : public SizeQueryView, public std::enable_shared_from_this<MainDialogQueryLink> {
 public:
  // UI thread only, like everything here that says so.
  MainDialogQueryLink(CMainDialog* dialog, const LanguageTable& texts, QueryService& queries);
  ~MainDialogQueryLink() override;

  // Starts a query thread on this link.
  void Start();
  // Cuts the link and cancels a running transfer. UI thread only.
  void Detach();
  // After Detach: waits until the query threads have ended, at most `timeout`.
  // Returns whether none is left.
  bool WaitUntilIdle(std::chrono::milliseconds timeout);

  std::string ReadAddress() override;
  void SetStatusText(const std::string& text) override;
  void SetSizeText(const std::string& text) override;
  void ShowFileSize(std::uint64_t size) override;
  void SetQueryButtonsEnabled(bool enabled) override;
  bool AsksHttps() override;
  bool AsksOtherWays() override;
  const LanguageTable& LanguageTexts() const override { return m_texts; }

 private:
  struct PendingChange {
    const std::function<void(CMainDialog&)>* change;  // lives on the waiting thread's stack
    bool* done;                                       // set under m_lock when it has run
  };
  class Waker;

  // Runs `change` on the UI thread against the window, if it is still there, and waits.
  void OnWindow(const std::function<void(CMainDialog&)>& change);
  // UI thread: carries out the changes the query threads are waiting for.
  void RunPending();
  void QueryEnded();

  CMainDialog* m_dialog;  // read and cleared on the UI thread only
  const LanguageTable& m_texts;
  QueryService& m_queries;
  const std::thread::id m_uiThread;

  std::mutex m_lock;  // guards everything below
  Waker* m_waker;     // null once the window has gone; owned by the window
  std::deque<PendingChange> m_pending;
  int m_runningThreads = 0;
  std::condition_variable m_changed;  // a pending change has run, or the window has gone
  std::condition_variable m_idle;
};
