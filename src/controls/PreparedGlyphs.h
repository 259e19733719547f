#pragma once

#include <QStringList>

class QFont;

// Draws each of `texts` once off screen in `font`, so that the font engine has rendered and
// cached their glyphs before a control first shows them: the first time a glyph is drawn
// costs its rasterisation, on the UI thread, at that moment.
void PrepareGlyphs(const QFont& font, const QStringList& texts);
