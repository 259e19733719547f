#include "mainwindow/MainDialogQueryLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <future>

#include "localisation/CLocalizedApp.h"
#include "mainwindow/CMainDialog.h"
#include "query/QuerySizeThread.h"

void MainDialogQueryLink::Start() {
  ++m_runningThreads;
  // The count drops on the UI thread, so the thread's last touch of the application
  // happens while the UI thread still waits for it, and the event wakes that wait.
  StartSizeQuery(shared_from_this(), [self = shared_from_this()] {
    QMetaObject::invokeMethod(qApp, [self] { --self->m_runningThreads; }, Qt::QueuedConnection);
  });
}

void MainDialogQueryLink::Detach() {
  m_dialog = nullptr;
  CancelQuery();
}

bool MainDialogQueryLink::WaitUntilIdle(std::chrono::milliseconds timeout) {
  QElapsedTimer elapsed;
  elapsed.start();
  QTimer deadline;  // its timeout is the event that ends the wait when threads hang on
  deadline.setSingleShot(true);
  deadline.start(timeout);
  while (m_runningThreads > 0 && elapsed.elapsed() < timeout.count())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return m_runningThreads == 0;
}

void MainDialogQueryLink::OnWindow(const std::function<void(CMainDialog&)>& change) {
  if (CancelFlag()) return;
  if (QThread::currentThread() == qApp->thread()) {
    if (m_dialog) change(*m_dialog);
    return;
  }
  // The thread waits on a promise rather than inside Qt, so the hand-over is plain
  // C++ synchronisation. If the application drops the call unrun, the promise
  // breaks and the wait ends all the same.
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  QMetaObject::invokeMethod(
      qApp,
      [this, &change, done] {
        if (m_dialog) change(*m_dialog);
        done->set_value();
      },
      Qt::QueuedConnection);
  finished.wait();
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

void MainDialogQueryLink::SetQueryButtonsEnabled(bool enabled) {
  OnWindow([enabled](CMainDialog& dialog) { dialog.EnableQueryButtons(enabled); });
}
