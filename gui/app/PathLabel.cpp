#include "app/PathLabel.h"

#include <QPainter>

void PathLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideLeft, area.width());
    painter.drawText(area, int(alignment()), shown);
}
