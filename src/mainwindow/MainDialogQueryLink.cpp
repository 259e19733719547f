#include "mainwindow/MainDialogQueryLink.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "localisation/LocalizedTexts.h"
#include "mainwindow/CMainDialog.h"
#include "query/QueryService.h"

// Lives on the UI thread as a child of the window; a posted event wakes it to run what
// the query threads have queued.
class MainDialogQueryLink::Waker : public QObject {
 public:
  Waker(MainDialogQueryLink* link, QObject* window) : QObject(window), m_link(link) {}
  void Forget() { m_link = nullptr; }

  // Qt sends the posted wake-up here; the event itself is never read, since it crossed
  // threads through Qt's own queue, where no sanitizer can follow it.
  void customEvent(QEvent*) override {
    if (m_link) m_link->RunPending();
  }

 private:
  MainDialogQueryLink* m_link;  // UI thread only
};

MainDialogQueryLink::MainDialogQueryLink(CMainDialog* dialog, const LanguageTable& texts, QueryService& queries)
    : m_dialog(dialog), m_texts(texts), m_queries(queries), m_uiThread(std::this_thread::get_id()), m_waker(new Waker(this, dialog)) {}

MainDialogQueryLink::~MainDialogQueryLink() = default;

void MainDialogQueryLink::Start() {
  {
    std::lock_guard lock(m_lock);
    ++m_runningThreads;
  }
  m_queries.StartSizeQuery(shared_from_this(), [self = shared_from_this()] { self->QueryEnded(); });
}

void MainDialogQueryLink::QueryEnded() {
  std::lock_guard lock(m_lock);
  --m_runningThreads;
  m_idle.notify_all();
}

void MainDialogQueryLink::Detach() {
  m_dialog = nullptr;
  CancelQuery();
  std::lock_guard lock(m_lock);
  if (m_waker) m_waker->Forget();
  m_waker = nullptr;
  // Threads waiting on the window are released without it.
  for (const PendingChange& pending : m_pending) *pending.done = true;
  m_pending.clear();
  m_changed.notify_all();
}

bool MainDialogQueryLink::WaitUntilIdle(std::chrono::milliseconds timeout) {
  // Cut off from the window, the threads need nothing of the UI thread any more.
  std::unique_lock lock(m_lock);
  return m_idle.wait_for(lock, timeout, [this] { return m_runningThreads == 0; });
}

void MainDialogQueryLink::OnWindow(const std::function<void(CMainDialog&)>& change) {
  if (CancelFlag()) return;
  if (std::this_thread::get_id() == m_uiThread) {
    if (m_dialog) change(*m_dialog);
    return;
  }
  bool done = false;
  std::unique_lock lock(m_lock);
  if (!m_waker) return;  // the window has gone
  m_pending.push_back({&change, &done});
  // Posted under the lock, so the waker cannot go away in between.
  QCoreApplication::postEvent(m_waker, new QEvent(QEvent::User));
  m_changed.wait(lock, [&done] { return done; });
}

void MainDialogQueryLink::RunPending() {
  std::deque<PendingChange> due;
  {
    std::lock_guard lock(m_lock);
    due.swap(m_pending);
  }
  for (const PendingChange& pending : due) {
    if (m_dialog) (*pending.change)(*m_dialog);
    std::lock_guard lock(m_lock);
    *pending.done = true;
    m_changed.notify_all();
  }
}

std::string MainDialogQueryLink::ReadAddress() {
  std::string address;
  OnWindow([&address](CMainDialog& dialog) { address = dialog.Address().toStdString(); });
  return address;
}

void MainDialogQueryLink::SetStatusText(const std::string& text) {
  OnWindow([&text](CMainDialog& dialog) { dialog.ShowStatus(WidgetText(text)); });
}

void MainDialogQueryLink::SetSizeText(const std::string& text) {
  OnWindow([&text](CMainDialog& dialog) { dialog.ShowSizeText(WidgetText(text)); });
}

void MainDialogQueryLink::ShowFileSize(std::uint64_t size) {
  OnWindow([size](CMainDialog& dialog) { dialog.ShowSize(size); });
}

// Read on the UI thread, where the settings dialog changes it.
bool MainDialogQueryLink::AsksHttps() {
  bool asks = false;
  OnWindow([&asks](CMainDialog& dialog) { asks = dialog.AsksHttps(); });
  return asks;
}

bool MainDialogQueryLink::AsksOtherWays() {
  bool asks = false;
  OnWindow([&asks](CMainDialog& dialog) { asks = dialog.AsksSizeOtherWays(); });
  return asks;
}

void MainDialogQueryLink::SetQueryButtonsEnabled(bool enabled) {
  OnWindow([enabled](CMainDialog& dialog) { dialog.EnableQueryButtons(enabled); });
}
