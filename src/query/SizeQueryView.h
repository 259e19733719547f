#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "net/InternetOptions.h"
#include "net/TransferCancel.h"

class LanguageTable;
struct SizeQueryReport;

// What a size query works on: the window (or the terminal front end) that holds
// the address, shows the progress and the size, and lends its two buttons.
//
// A query thread calls the display operations from its own thread; each must be
// carried out, and visible, before it returns.
class SizeQueryView {
 public:
  virtual ~SizeQueryView() = default;

  virtual std::string ReadAddress() = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  virtual void SetSizeText(const std::string& text) = 0;
  // Shows a byte count in the size box, grouped as the user's setting says.
  virtual void ShowFileSize(std::uint64_t size) = 0;
  // Disabling goes query button, then paste button; enabling the other way round.
  virtual void SetQueryButtonsEnabled(bool enabled) = 0;
  virtual const LanguageTable& LanguageTexts() const = 0;
  virtual InternetOptions ConnectionOptions() const { return {}; }
  // Whether https addresses are asked like http ones (the user's choice, read once per query).
  virtual bool AsksHttps() { return false; }
  // Whether a size the server did not say is asked once more in another way: a byte
  // range over HTTP, SIZE over FTP (the user's choice, read once per query).
  virtual bool AsksOtherWays() { return false; }
  // How the query ended, once its last message and size are shown (not for a refused one).
  virtual void ReportQuery(const SizeQueryReport&) {}

  // The one-query guard: only one query at a time does real work.
  bool TryBeginQuery();
  void EndQuery();

  // Ends a running query's transfer at once, and every later one before it starts;
  // used when the view goes away. Any thread may call it.
  void CancelQuery() { m_cancel.Cancel(); }
  const std::atomic<bool>& CancelFlag() const { return m_cancel.Flag(); }
  // What a query's session listens to for the cancel.
  TransferCancel& Cancellation() { return m_cancel; }

 private:
  std::mutex m_csQuery;
  bool m_bQueryRunning = false;
  TransferCancel m_cancel;
};
