#pragma once

class QFont;
class QString;

// Draws `text` once off screen in `font`, so that the font engine has rendered and cached its
// glyphs before a control first shows them: the first time a glyph is drawn costs its
// rasterisation, on the UI thread, at that moment.
void PrepareGlyphs(const QFont& font, const QString& text);
