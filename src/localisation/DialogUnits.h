#pragma once

#include <QFont>
#include <QRect>

// A place given in dialog units, in pixels of `font`: a horizontal unit is a quarter of the
// font's average character width (taken over the alphabet, as dialog layouts always were; a
// font's own "average width" runs narrower and would clip wide digits), a vertical one an
// eighth of its height.
QRect DialogUnitRect(const QFont& font, int x, int y, int width, int height);

class QWidget;

// The width `control` needs to show its whole text as its style draws it: a label's text, a
// check box's box and text, a push button's text inside its frame, a list's widest entry.
// Other controls need no more than they have.
int WidthForText(const QWidget* control);
