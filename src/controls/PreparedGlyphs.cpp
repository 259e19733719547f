#include "controls/PreparedGlyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

void PrepareGlyphs(const QFont& font, const QString& text) {
  // Large enough to hold the whole text, so that no glyph is left out as clipped; the
  // picture itself is thrown away.
  const QRect room = QFontMetrics(font).boundingRect(QRect(0, 0, 512, 0), Qt::TextWordWrap, text);
  QImage scratch(room.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  QPainter painter(&scratch);
  painter.setFont(font);
  painter.drawText(scratch.rect(), Qt::TextWordWrap, text);
}
