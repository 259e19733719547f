#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

class LocalizedTexts;

// A static text turned into a link: blue underlined text on its dialog's own background,
// the pointing hand over it, and a click opens its target (a web or "mailto:" address).
// When nothing opens the target the user hears a beep and reads why, with the error code.
class CHyperLink : public QLabel {
  Q_OBJECT
 public:
  static constexpr QRgb kLinkColour = qRgb(0, 0, 255);

  // `texts` gives the message for a target that cannot be opened.
  explicit CHyperLink(const LocalizedTexts& texts, QWidget* parent = nullptr);
  ~CHyperLink() override;

  // What a click opens; may be set before or after the link is attached.
  void SetTarget(const QString& target) { m_target = target; }
  const QString& Target() const { return m_target; }

  // Attaches the link to the text it shows: an empty target takes the text, an empty text
  // shows the target; the font gets underlined, the colours and the cursor are set.
  void PreSubclassWindow();

  // Opens `target`: the desktop's opener first, then the handler registered for web pages. The
  // result (greater than 32 is success) comes to `done` later, from the event loop, never once
  // `context` is gone.
  static void OpenTarget(const QString& target, QObject* context, std::function<void(int result)> done);
  // The message for a target that could not be opened, with its error code.
  static void ShowOpenError(QWidget* parent, const LocalizedTexts& texts, int code);

 signals:
  // A click was handled to its end, its message shown if there was one.
  void OpenFinished(int result);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnClicked();
  void LoadLinkCursor();

  const LocalizedTexts& m_texts;
  QString m_target;
  bool m_pressed = false;
};
