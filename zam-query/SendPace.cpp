#include "zam-query/SendPace.h"

#include <algorithm>

SendPace::SendPace(int perSecond)
    : intervalNs_(1000000000 / std::max(perSecond, 1)), burstNs_(100000000) {
    clock_.start();
}

qint64 SendPace::waitNs() const {
    return std::max<qint64>(0, dueNs_ - burstNs_ - clock_.nsecsElapsed());
}

void SendPace::take() {
    dueNs_ = std::max(dueNs_, clock_.nsecsElapsed()) + intervalNs_;
}
