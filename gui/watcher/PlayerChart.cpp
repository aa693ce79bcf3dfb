#include "watcher/PlayerChart.h"

#include "query/WatcherReply.h"
#include "windows/ReadableColour.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

PlayerChart::PlayerChart(QWidget* watcher) : QWidget(watcher) {
    setObjectName(QStringLiteral("PlayerChart"));
    setToolTip(tr("Players during the last hour, one point per poll"));
    clock = [] {
        static QElapsedTimer steady;
        if (!steady.isValid())
            steady.start();
        return steady.elapsed();
    };
}

void PlayerChart::clear() {
    points_.clear();
    pollOpen_ = false;
    update();
}

void PlayerChart::pollStarted() {
    pollOpen_ = true;
}

void PlayerChart::record(const QString& players) {
    bool isCount = false;
    const int count = players.toInt(&isCount);
    if (!isCount)
        return;
    const qint64 now = clock();
    if (pollOpen_ || points_.isEmpty())
        points_.append({now, count});
    else
        points_.last().players = count;
    pollOpen_ = false;
    points_.removeIf([now](const Point& p) { return now - p.ms > SpanMs; });
    update();
}

// Room for the count in the corner above a line of a few pixels.
QSize PlayerChart::sizeHint() const {
    return {60, fontMetrics().height() + 8};
}

QColor PlayerChart::lineColour() const {
    return stateColour(TextColour::Green, palette());
}

// The hour runs from the left edge to the right one; the line rises with the
// players, the largest count of the hour at the top, written beside it.
void PlayerChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (points_.isEmpty())
        return;
    int most = 1;
    for (const Point& p : points_)
        most = std::max(most, p.players);
    const QRect plot = frame.adjusted(2, 3, -2, -2);
    const qint64 end = std::max(clock(), points_.last().ms);
    const auto at = [&](const Point& p) {
        const double x = plot.right() - double(end - p.ms) / SpanMs * plot.width();
        const double y = plot.bottom() - double(std::max(p.players, 0)) / most * plot.height();
        return QPointF(std::max<double>(x, plot.left()), y);
    };
    QPainterPath line(at(points_.first()));
    for (const Point& p : points_)
        line.lineTo(at(p));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(lineColour(), 1.5));
    painter.drawPath(line);
    painter.drawEllipse(at(points_.last()), 1.5, 1.5);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(frame.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignTop,
                     QString::number(most));
}
