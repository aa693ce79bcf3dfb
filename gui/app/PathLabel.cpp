#include "app/PathLabel.h"

#include <QEvent>
#include <QPainter>

void PathLabel::setToolTipSource(std::function<QString()> source) {
    toolTipSource_ = std::move(source);
}

bool PathLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && toolTipSource_)
        setToolTip(toolTipSource_());
    return QLabel::event(event);
}

void PathLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideLeft, area.width());
    painter.drawText(area, int(alignment()), shown);
}
