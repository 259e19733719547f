#include "localisation/DialogUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

QRect DialogUnitRect(const QFont& font, int x, int y, int width, int height) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int cx = (alphabet / 26 + 1) / 2;
  const int cy = metrics.height();
  return QRect(x * cx / 4, y * cy / 8, width * cx / 4, height * cy / 8);
}

int WidthForText(const QWidget* control) {
  // Labels, check boxes and lists know what their text needs.
  if (qobject_cast<const QLabel*>(control) || qobject_cast<const QCheckBox*>(control) ||
      qobject_cast<const QComboBox*>(control))
    return control->sizeHint().width();
  // A push button's own hint has a style's minimum width in it; only its text counts here.
  if (const auto* button = qobject_cast<const QPushButton*>(control)) {
    QStyleOptionButton option;
    option.initFrom(button);
    const int frame = option.rect.width() -
                      button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    return button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + frame;
  }
  return control->width();
}
