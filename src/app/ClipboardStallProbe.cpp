#include "app/ClipboardStallProbe.h"

#include <QAbstractEventDispatcher>
#include <QClipboard>
#include <QGuiApplication>

#include <unistd.h>

#include <chrono>
#include <string>

namespace {

void WriteMicroseconds(int fd, std::chrono::steady_clock::duration took) {
  const std::string line = std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(took).count()) + "\n";
  [[maybe_unused]] const auto written = write(fd, line.data(), line.size());
}

}  // namespace

void InstallClipboardStallProbe(QObject& context) {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("QUORVANE_CLIPBOARD_STALL_FD", &ok);
  if (!ok || fd < 0) return;
  // Slots run in the order they were connected: this one, connected before the window
  // exists, marks the start, the window's handler runs next in the same delivery, and the
  // dispatcher says when the loop is idle.
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, &context, [fd, &context] {
    const auto changed = std::chrono::steady_clock::now();
    QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &context,
        [fd, changed] { WriteMicroseconds(fd, std::chrono::steady_clock::now() - changed); },
        Qt::SingleShotConnection);
  });
}
