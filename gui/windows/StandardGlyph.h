#pragma once

#include <QIcon>
#include <QStyle>

// One of the style's standard glyphs as an icon that asks the style for its
// pictures only when it is first drawn or measured. Loading them costs far
// more than building the button, and most buttons are in windows that are
// not shown at start-up. The icon is never null, so a button sizes itself
// as it would with the loaded icon.
QIcon standardGlyph(QStyle::StandardPixmap glyph);
