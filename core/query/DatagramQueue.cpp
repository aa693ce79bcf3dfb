#include "query/DatagramQueue.h"

#include "query/TickSource.h"

#include <QUdpSocket>
#include <algorithm>
#include <chrono>
#include <cstring>

#ifdef Q_OS_UNIX
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace {

#ifdef Q_OS_UNIX
// The platform's receive time that came with a datagram, -1 for none.
qint64 receiveTimeOf([[maybe_unused]] msghdr& message) {
#ifdef SO_TIMESTAMPNS
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            return qint64(stamp.tv_sec) * 1000000000 + stamp.tv_nsec;
        }
    }
#endif
    return -1;
}

// Receives the next waiting datagram straight from the descriptor with its
// receive time, or only looks at it (peek: the datagram stays waiting).
// False when none waits, or on an error, which the socket object then meets
// on its own read and reports.
bool receiveDirect(QUdpSocket& socket, DatagramInfo& info, char* bytes, bool peek) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0)
        return false;
    sockaddr_in from{};
    iovec payload{bytes, peek ? 0 : size_t(DatagramInfo::MaxSize)};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t received =
        recvmsg(int(descriptor), &message, MSG_DONTWAIT | (peek ? MSG_PEEK : 0));
    if (received < 0)
        return false;
    info.count = (message.msg_flags & MSG_TRUNC) ? -1 : qint32(received);
    info.fromAddress = from.sin_family == AF_INET ? ntohl(from.sin_addr.s_addr) : 0;
    info.fromPort = ntohs(from.sin_port);
    info.stampNs = receiveTimeOf(message);
    return true;
}
#else
bool receiveDirect(QUdpSocket&, DatagramInfo&, char*, bool) {
    return false;
}
#endif

// Reads one datagram through the socket object, or finds none (false).
bool readThroughSocket(QUdpSocket& socket, DatagramInfo& info, char* bytes) {
    // The socket object does not tell the receive time: look it up first.
    if (!receiveDirect(socket, info, bytes, true))
        info.stampNs = -1;
    info.fromAddress = 0;
    info.fromPort = 0;
    if (socket.pendingDatagramSize() > DatagramInfo::MaxSize) {
        socket.readDatagram(nullptr, 0); // drops it: too long to deliver whole
        info.count = -1;
        return true;
    }
    QHostAddress from;
    info.count = qint32(socket.readDatagram(bytes, DatagramInfo::MaxSize, &from, &info.fromPort));
    info.fromAddress = from.toIPv4Address();
    return info.count >= 0;
}

// Reads the next waiting datagram; false when none waits.
bool readWaiting(QUdpSocket& socket, DatagramInfo& info, char* bytes) {
#ifdef Q_OS_UNIX
    return receiveDirect(socket, info, bytes, false);
#else
    return socket.hasPendingDatagrams() && readThroughSocket(socket, info, bytes);
#endif
}

// The platform stamps receive times on the wall clock.
qint64 wallClockNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

DatagramQueue::DatagramQueue()
    : infos_(Capacity), bytes_(new char[size_t(Capacity) * DatagramInfo::MaxSize]) {}

void DatagramQueue::stampArrivals([[maybe_unused]] QUdpSocket& socket) {
#if defined(Q_OS_UNIX) && defined(SO_TIMESTAMPNS)
    const int on = 1;
    setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
#endif
}

void DatagramQueue::fill(QUdpSocket& socket, bool notified) {
    const int before = size_;
    // One slot stays free for the socket object's own read (and every fill
    // of a notification is followed by a take).
    while (size_ + 1 < Capacity &&
           readWaiting(socket, infos_[size_t(slotAfterLast())], bytesOf(slotAfterLast())))
        ++size_;
    // The socket object counts a notification as served only once it has read
    // (or found nothing) itself, or it stops notifying; so that read comes
    // last, where the order of the datagrams keeps.
    if (notified && size_ < Capacity) {
        const bool read =
            readThroughSocket(socket, infos_[size_t(slotAfterLast())], bytesOf(slotAfterLast()));
        if (read || size_ == 0)
            ++size_;
    }
    settleArrivalTicks(before);
}

// Turns the platform's stamps of the datagrams queued from `first` on into
// ticks; a datagram without one arrived as far as anyone can tell now.
void DatagramQueue::settleArrivalTicks(int first) {
    if (first == size_)
        return;
    const qint64 nowNs = wallClockNs();
    for (int i = first; i < size_; ++i) {
        DatagramInfo& d = infos_[size_t((head_ + i) % Capacity)];
        d.arrivalTick = d.stampNs < 0 ? TickSource::now()
                                      : TickSource::before(std::max<qint64>(0, nowNs - d.stampNs));
    }
}

void DatagramQueue::takeOldest(DatagramInfo& info, char* bytes) {
    info = infos_[size_t(head_)];
    if (info.count > 0)
        std::memcpy(bytes, bytesOf(head_), size_t(info.count));
    head_ = (head_ + 1) % Capacity;
    --size_;
}
