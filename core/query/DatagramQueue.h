#pragma once

#include <QtGlobal>
#include <memory>
#include <vector>

class QUdpSocket;

// What is known of one datagram read from the socket.
struct DatagramInfo {
    static constexpr qint32 MaxSize = 2048;

    qint32 count = -1; // its size, or -1: the receive failed or it was longer than MaxSize
    quint32 fromAddress = 0;
    quint16 fromPort = 0;
    quint32 arrivalTick = 0;
    qint64 stampNs = -1; // the platform's receive time (wall clock) while queued; -1: none
};

// The datagrams read from a socket and not handed on yet, in the order they
// came, their bytes packed one after another in storage reserved once (its
// pages are taken only as they fill, so a queue of short replies takes the
// pages of their bytes, not of Capacity slots of MaxSize).
// Reading is cheap next to handling a datagram: taking them out of the socket
// as they come keeps the platform's receive buffer from overflowing while a
// burst is handled, however small the platform lets that buffer be.
class DatagramQueue {
public:
    static constexpr int Capacity = 1024;
    // A receive buffer of 208 KiB holds about 160 replies of 560 bytes as the
    // platform counts them (measured). Replies come no faster than one in a
    // few microseconds (a sender's system call on loopback, 5 us of a gigabit
    // link for 600 bytes), so that many take several times this interval.
    static constexpr qint64 ReadIntervalNs = 100000;

    DatagramQueue();
    ~DatagramQueue();

    // Asks the platform to stamp every datagram of a bound socket with its
    // receive time; without that a datagram counts as arrived when read.
    static void stampArrivals(QUdpSocket& socket);

    // Reads what waits on the socket, up to the free room. `notified`: the
    // socket announced datagrams; it then expects a read of its own, or it
    // stops announcing, and a notification that finds nothing at all while
    // the queue is empty queues one failed receive (count -1).
    void fill(QUdpSocket& socket, bool notified);

    // Reads again while datagrams are being handed on, once at least
    // ReadIntervalNs passed since the last read: often enough that a small
    // receive buffer cannot fill meanwhile, without a system call per datagram.
    void refillIfDue(QUdpSocket& socket);

    bool empty() const { return size_ == 0; }
    // Moves the oldest datagram out: its facts into `info`, its bytes into
    // `bytes` (room for MaxSize).
    void takeOldest(DatagramInfo& info, char* bytes);

private:
    static constexpr qsizetype StorageSize = qsizetype(Capacity) * DatagramInfo::MaxSize;
    struct ReadBatch;

    void readWaiting(QUdpSocket& socket);
    int slotAfterLast() const { return (head_ + size_) % Capacity; }
    // Room for `count` datagrams of MaxSize after the last one's bytes,
    // moving the queued bytes to the storage's start when they reach its end.
    char* roomFor(int count);
    void append(const DatagramInfo& info);
    void settleArrivalTicks(int first);

    std::vector<DatagramInfo> infos_; // a ring of Capacity, from head_
    std::unique_ptr<char[]> bytes_;   // StorageSize; the queued ones in [headByte_, endByte_)
    int head_ = 0;
    int size_ = 0;
    qsizetype headByte_ = 0;
    qsizetype endByte_ = 0;
    std::unique_ptr<ReadBatch> batch_;
    qint64 lastReadNs_ = 0; // steady clock
};
