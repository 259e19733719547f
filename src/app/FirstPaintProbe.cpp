#include "app/FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

// A window's first paint runs inside the handling of its first expose, flush included;
// the zero timer fires when that handling has returned to the event loop.
class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QObject& watched, std::function<void()> action)
      : QObject(&watched), m_watched(watched), m_action(std::move(action)) {}

  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() == QEvent::Paint && target->isWidgetType() && static_cast<QWidget*>(target)->isWindow()) {
      m_watched.removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        m_action();
        deleteLater();
      });
    }
    return false;
  }

 private:
  QObject& m_watched;
  std::function<void()> m_action;
};

}  // namespace

void AfterFirstPaint(QObject& watched, std::function<void()> action) {
  watched.installEventFilter(new FirstPaintWatch(watched, std::move(action)));
}

void InstallFirstPaintProbe() {
  bool ok = false;
  const int fd = qEnvironmentVariableIntValue("QUORVANE_FIRST_PAINT_FD", &ok);
  if (!ok || fd < 0) return;
  AfterFirstPaint(*qApp, [fd] {
    const char painted = 'P';
    [[maybe_unused]] const auto written = write(fd, &painted, 1);
    close(fd);
  });
}
