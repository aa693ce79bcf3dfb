#pragma once

#include <QtGlobal>
#include <functional>

// The millisecond tick count used to time replies: monotonic, counting from
// system start where the platform tells it, wrapping modulo 2^32. Differences
// of two ticks are taken as unsigned 32-bit values, so a wrap in between
// still gives the right elapsed time.
class TickSource {
public:
    static quint32 now();
    // The tick ageNs nanoseconds before now (ageNs >= 0), for events the
    // platform timed earlier, such as a datagram's arrival.
    static quint32 before(qint64 ageNs);

    // Replaces the clock (tests script their ticks); an empty function
    // restores the system clock.
    static void install(std::function<quint32()> source);
};
