#include "controls/CHyperLink.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>

#include "desktop/LinkOpener.h"
#include "desktop/WarningBox.h"
#include "core/NumberTemplate.h"
#include "localisation/LocalizedTexts.h"

CHyperLink::CHyperLink(const LocalizedTexts& texts, QWidget* parent) : QLabel(parent), m_texts(texts) {
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
}

CHyperLink::~CHyperLink() = default;

void CHyperLink::PreSubclassWindow() {
  if (m_target.isEmpty()) m_target = text();
  if (text().isEmpty()) setText(m_target);

  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);

  // The same blue in every state: a link here has no visited and no hover colour. Nothing is
  // filled behind the text, so the dialog's background shows through.
  QPalette colours = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    colours.setColor(group, QPalette::WindowText, QColor(kLinkColour));
  setPalette(colours);
  setAutoFillBackground(false);

  LoadLinkCursor();
}

void CHyperLink::LoadLinkCursor() { setCursor(Qt::PointingHandCursor); }

void CHyperLink::mousePressEvent(QMouseEvent* event) {
  m_pressed = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

// A click is a press and a release of the left button on the link, as on a button, so that
// a press dragged away opens nothing.
void CHyperLink::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  m_pressed = false;
  QLabel::mouseReleaseEvent(event);
  if (clicked) OnClicked();
}

void CHyperLink::OnClicked() {
  OpenTarget(m_target, this, [this](int result) {
    if (result <= 32) {
      QApplication::beep();
      ShowOpenError(window(), m_texts, result);
    }
    emit OpenFinished(result);
  });
}

void CHyperLink::OpenTarget(const QString& target, QObject* context, std::function<void(int)> done) {
  LinkOpener::Open(target, context, std::move(done));
}

void CHyperLink::ShowOpenError(QWidget* parent, const LocalizedTexts& texts, int code) {
  std::string format = "Не удалось выполнить команду.\r\nКод ошибки: %d.";
  texts.GetString(1001, format);
  WarningBox::Show(parent, texts.ApplicationTitle(), WidgetText(FillNumberTemplate(format, code)));
}
