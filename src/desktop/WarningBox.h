#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message box the program shows: an OK button and the exclamation icon.
// Tests answer the box through the handler instead of leaving a modal waiting for a click.
class WarningBox {
 public:
  using Handler = std::function<void(QWidget* parent, const QString& title, const QString& text)>;

  static void Show(QWidget* parent, const QString& title, const QString& text);
  // Replaces the real box (an empty handler brings it back); returns the one it replaced.
  static Handler SetHandler(Handler handler);
};
