#pragma once

#include <QElapsedTimer>
#include <QtGlobal>

// Spaces datagrams at perSecond on average, letting a burst of a tenth of a
// second's worth go at once (after a pause too): a sweep never sends faster
// than its link was told to carry.
class SendPace {
public:
    explicit SendPace(int perSecond);

    // Nanoseconds until the next datagram may go; 0 when it may go now.
    qint64 waitNs() const;
    // The next datagram goes now.
    void take();

private:
    qint64 intervalNs_;
    qint64 burstNs_;
    qint64 dueNs_ = 0; // when the next datagram would go at the even pace
    QElapsedTimer clock_;
};
