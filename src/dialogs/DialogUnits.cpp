#include "dialogs/DialogUnits.h"

#include <QFontMetrics>

QRect DialogUnitRect(const QFont& font, int x, int y, int width, int height) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int cx = (alphabet / 26 + 1) / 2;
  const int cy = metrics.height();
  return QRect(x * cx / 4, y * cy / 8, width * cx / 4, height * cy / 8);
}
