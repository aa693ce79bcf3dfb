#pragma once

#include "windows/StandardGlyph.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

// The dialogs place their controls in pixels: left, top, width, height
// inside the parent. Controls carry their names as objectName.

template <typename Control>
Control* placed(Control* control, const QString& name, int left, int top, int width, int height) {
    control->setObjectName(name);
    control->setGeometry(left, top, width, height);
    return control;
}

// A label at left, top that sizes itself to its caption.
inline QLabel* placedLabel(QWidget* parent, const QString& name, const QString& caption, int left,
                           int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize();
    return label;
}

// Widens a check box or radio button whose caption needs more room than its
// place gives it in this style and font.
inline void widenToCaption(QWidget* control) {
    control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
}

// A button with one of the style's standard glyphs.
inline QPushButton* glyphButton(QWidget* parent, const QString& caption,
                                QStyle::StandardPixmap glyph) {
    return new QPushButton(standardGlyph(glyph), caption, parent);
}
