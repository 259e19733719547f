#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

#include "query/SizeQueryView.h"

class CMainDialog;

// The main window as a size query sees it. Query threads hold this link, not the
// window: every change runs on the UI thread while the thread waits, and once the
// window closes the link is cut, so a late query touches nothing that is gone.
class MainDialogQueryLink : public SizeQueryView, public std::enable_shared_from_this<MainDialogQueryLink> {
 public:
  MainDialogQueryLink(CMainDialog* dialog, const LanguageTable& texts) : m_dialog(dialog), m_texts(texts) {}

  // Starts a query thread on this link.
  void Start();
  // Cuts the link and cancels a running transfer. UI thread only.
  void Detach();
  // Lets the UI thread serve the query threads until they have ended, at most `timeout`.
  // Returns whether none is left.
  bool WaitUntilIdle(std::chrono::milliseconds timeout);

  std::string ReadAddress() override;
  void SetStatusText(const std::string& text) override;
  void SetSizeText(const std::string& text) override;
  void ShowFileSize(std::uint64_t size) override;
  void SetQueryButtonsEnabled(bool enabled) override;
  const LanguageTable& LanguageTexts() const override { return m_texts; }

 private:
  // Runs `change` on the UI thread against the window, if it is still there, and waits.
  void OnWindow(const std::function<void(CMainDialog&)>& change);

  CMainDialog* m_dialog;  // read and cleared on the UI thread only
  const LanguageTable& m_texts;
  int m_runningThreads = 0;  // UI thread only
};
