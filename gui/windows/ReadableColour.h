#pragma once

#include <QColor>

class QPalette;
enum class TextColour;

// The two colours the watcher's state texts use on a light window.
inline const QColor StateGreen{0, 128, 0};
inline const QColor StateMaroon{128, 0, 0};

// The contrast ratio of two colours by their relative luminance, from 1
// (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The least contrast a coloured text keeps against its background.
inline constexpr double ReadableContrast = 4.5;

// The colour as it is on a light background, and on a dark one unless it is
// readable there already; otherwise the darkest lighter shade of the same hue
// that reaches ReadableContrast against the background.
QColor readableOn(const QColor& colour, const QColor& background);

// A state text's colour in the palette of the window that shows it: plain
// texts take the window's text colour.
QColor stateColour(TextColour colour, const QPalette& palette);
