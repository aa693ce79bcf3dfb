#pragma once

#include "windows/StandardGlyph.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

// The windows build their controls into layouts, so every control takes the
// room its caption needs in the desktop's font; the designed pixel sizes are
// minimums. Controls carry their names as objectName.

template <typename Control> Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

// A control at least as wide as designed, wider when its contents need it.
template <typename Control>
Control* named(Control* control, const QString& name, int minimumWidth) {
    control->setMinimumWidth(minimumWidth);
    return named(control, name);
}

inline QLabel* namedLabel(QWidget* parent, const QString& name, const QString& caption) {
    return named(new QLabel(caption, parent), name);
}

// A button with one of the style's standard glyphs.
inline QPushButton* glyphButton(QWidget* parent, const QString& caption,
                                QStyle::StandardPixmap glyph) {
    return new QPushButton(standardGlyph(glyph), caption, parent);
}
