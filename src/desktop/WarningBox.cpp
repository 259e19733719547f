#include "desktop/WarningBox.h"

#include <QMessageBox>

namespace {

WarningBox::Handler& CurrentHandler() {
  static WarningBox::Handler handler;
  return handler;
}

}  // namespace

void WarningBox::Show(QWidget* parent, const QString& title, const QString& text) {
  if (const Handler& handler = CurrentHandler()) {
    handler(parent, title, text);
    return;
  }
  QMessageBox::warning(parent, title, text);
}

WarningBox::Handler WarningBox::SetHandler(Handler handler) {
  Handler previous = std::move(CurrentHandler());
  CurrentHandler() = std::move(handler);
  return previous;
}
