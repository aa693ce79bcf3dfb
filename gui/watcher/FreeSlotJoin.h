#pragma once

#include <QCheckBox>

class QTimer;

// The watcher's "Join when a slot is free": enabled while the watched server
// is full. Ticked, it tells the watcher to join at the first reply that shows
// a free slot, and clears itself. While it is ticked the watcher polls every
// FastPollMs instead of its usual interval.
class FreeSlotJoin : public QCheckBox {
    Q_OBJECT
public:
    static constexpr int FastPollMs = 5000;

    FreeSlotJoin(QTimer* poll, QWidget* watcher);

    // A reply showed players on a maximum, as the watcher shows them ("?"
    // while unknown). True when the tick asks to join now.
    bool replied(const QString& players, const QString& maximum);
    // Another server is watched, or the watcher closed: unticked and off.
    void reset();

private:
    QTimer* poll_;
    int usualIntervalMs_;
};
