#include "query/TickSource.h"

#include <chrono>

namespace {

std::function<quint32()>& installedSource() {
    static std::function<quint32()> source;
    return source;
}

quint32 systemTicks(std::chrono::nanoseconds age = {}) {
    using namespace std::chrono;
    return quint32(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch() - age).count());
}

} // namespace

quint32 TickSource::now() {
    const std::function<quint32()>& source = installedSource();
    return source ? source() : systemTicks();
}

void TickSource::install(std::function<quint32()> source) {
    installedSource() = std::move(source);
}

quint32 TickSource::before(qint64 ageNs) {
    const std::function<quint32()>& source = installedSource();
    return source ? source() - quint32(ageNs / 1000000)
                  : systemTicks(std::chrono::nanoseconds(ageNs));
}
