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

    // One reading of the clock, from which events the platform timed earlier
    // (such as datagrams' arrivals) are timed back. Ages taken back from the
    // same reading keep the events' order in their ticks.
    class Reading {
    public:
        Reading();
        // The tick ageNs nanoseconds before the reading (ageNs >= 0).
        quint32 before(qint64 ageNs) const;

    private:
        bool scripted_; // a test's clock: whole ticks only
        quint32 tick_;
        qint64 steadyNs_;
    };

    // Replaces the clock (tests script their ticks); an empty function
    // restores the system clock.
    static void install(std::function<quint32()> source);
};
