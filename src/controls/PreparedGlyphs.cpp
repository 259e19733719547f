#include "controls/PreparedGlyphs.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>

void PrepareGlyphs(const QFont& font, const QStringList& texts) {
  // The font engine renders and caches every glyph it is asked to draw, also those that fall
  // outside the picture, so a picture of a few pixels is enough and takes no memory to speak of.
  QImage scratch(16, 16, QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  QPainter painter(&scratch);
  painter.setFont(font);
  for (const QString& text : texts) painter.drawText(0, 12, text);
}
