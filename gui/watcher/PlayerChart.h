#pragma once

#include <QList>
#include <QWidget>
#include <functional>

// The watched server's player count over the last hour as a small line
// chart, one point per poll. Shown in the watcher's expanded layout only.
class PlayerChart : public QWidget {
    Q_OBJECT
public:
    struct Point {
        qint64 ms;
        int players;
    };
    static constexpr qint64 SpanMs = 60 * 60 * 1000;

    explicit PlayerChart(QWidget* watcher);

    // A new server: the history starts over.
    void clear();
    // A query was sent: the next count opens a new point.
    void pollStarted();
    // The players text of a reply; a later datagram of the same poll
    // replaces the poll's point. A text that is no count ("?") is skipped.
    void record(const QString& players);
    QSize sizeHint() const override;
    // The line's colour: green, readable on the window's background.
    QColor lineColour() const;

    const QList<Point>& points() const { return points_; }
    // Milliseconds of a steady clock; tests set their own.
    std::function<qint64()> clock;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<Point> points_;
    bool pollOpen_ = false;
};
