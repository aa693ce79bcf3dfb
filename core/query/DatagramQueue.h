#pragma once

#include <QtGlobal>
#include <array>
#include <vector>

class QUdpSocket;

// One datagram as read from the socket, with the tick of its arrival.
struct ReceivedDatagram {
    static constexpr qint32 MaxSize = 2048;

    qint32 count = -1; // its size, or -1: the receive failed or it was longer than MaxSize
    quint32 fromAddress = 0;
    quint16 fromPort = 0;
    quint32 arrivalTick = 0;
    std::array<char, MaxSize> bytes;
    qint64 stampNs = -1; // the platform's receive time while queued; -1: none
};

// The datagrams read on one socket notification and not handed on yet, in
// the order they came, in storage allocated once. A read turn takes at most
// Capacity datagrams, so a flood cannot hold up the event loop; the rest stay
// in the socket, which notifies again.
class DatagramQueue {
public:
    static constexpr int Capacity = 32;

    DatagramQueue();

    // Asks the platform to stamp every datagram of a bound socket with its
    // receive time; without that a datagram counts as arrived when read.
    static void stampArrivals(QUdpSocket& socket);

    // Reads what the socket holds, up to the free room. A turn that finds
    // nothing at all while the queue is empty queues one failed receive
    // (count -1), so every notification hands on at least one datagram.
    void readFrom(QUdpSocket& socket);

    bool empty() const { return size_ == 0; }
    // Moves the oldest datagram out into `into`.
    void takeOldest(ReceivedDatagram& into);

private:
    ReceivedDatagram& slotAfterLast() { return slots_[size_t((head_ + size_) % Capacity)]; }
    void settleArrivalTicks(int first);

    std::vector<ReceivedDatagram> slots_;
    int head_ = 0;
    int size_ = 0;
};
