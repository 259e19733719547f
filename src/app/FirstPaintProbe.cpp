#include "app/FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

// A window's first paint runs inside the handling of its first expose, flush included;
// the zero timer fires when that handling has returned to the event loop.
class FirstPaintProbe : public QObject {
 public:
  explicit FirstPaintProbe(int fd) : QObject(qApp), m_fd(fd) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
      qApp->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        const char painted = 'P';
        [[maybe_unused]] const auto written = write(m_fd, &painted, 1);
        close(m_fd);
        deleteLater();
      });
    }
    return false;
  }

 private:
  int m_fd;
};

}  // namespace

void InstallFirstPaintProbe() {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("QUORVANE_FIRST_PAINT_FD", &ok);
  if (!ok || fd < 0) return;
  qApp->installEventFilter(new FirstPaintProbe(fd));
}
