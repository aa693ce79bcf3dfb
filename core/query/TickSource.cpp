#include "query/TickSource.h"

#include <chrono>

namespace {

std::function<quint32()>& installedSource() {
    static std::function<quint32()> source;
    return source;
}

qint64 steadyNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

quint32 TickSource::now() {
    const std::function<quint32()>& source = installedSource();
    return source ? source() : quint32(steadyNs() / 1000000);
}

void TickSource::install(std::function<quint32()> source) {
    installedSource() = std::move(source);
}

TickSource::Reading::Reading()
    : scripted_(bool(installedSource())), tick_(scripted_ ? now() : 0),
      steadyNs_(scripted_ ? 0 : steadyNs()) {}

quint32 TickSource::Reading::before(qint64 ageNs) const {
    return scripted_ ? tick_ - quint32(ageNs / 1000000) : quint32((steadyNs_ - ageNs) / 1000000);
}
