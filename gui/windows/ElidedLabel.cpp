#include "windows/ElidedLabel.h"

#include <QPainter>

ElidedLabel::ElidedLabel(Qt::TextElideMode mode, const QString& text, QWidget* parent)
    : QLabel(text, parent), mode_(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

// As tall as one line, and wide enough for the ellipsis.
QSize ElidedLabel::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("...")),
            QLabel::minimumSizeHint().height()};
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), mode_, contentsRect().width());
}

void ElidedLabel::updateToolTip(const QString& shown) {
    const QString tip = shown == text() ? QString() : text();
    if (toolTip() != tip)
        setToolTip(tip);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    const QString shown = shownText();
    updateToolTip(shown);
    QPainter painter(this);
    painter.drawText(contentsRect(), int(alignment()), shown);
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateToolTip(shownText());
}
