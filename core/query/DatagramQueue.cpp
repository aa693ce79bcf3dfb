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
qint64 receiveTimeOf([[maybe_unused]] const msghdr& message) {
#ifdef SO_TIMESTAMPNS
    auto& header = const_cast<msghdr&>(message); // CMSG_NXTHDR takes no const header
    for (cmsghdr* c = CMSG_FIRSTHDR(&header); c; c = CMSG_NXTHDR(&header, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
            return qint64(stamp.tv_sec) * 1000000000 + stamp.tv_nsec;
        }
    }
#endif
    return -1;
}

#ifdef Q_OS_LINUX
// Notes what came with a datagram of `size` bytes received into `message`.
void noteReceived(const msghdr& message, size_t size, DatagramInfo& info) {
    const auto& from = *static_cast<const sockaddr_in*>(message.msg_name);
    info.count = (message.msg_flags & MSG_TRUNC) ? -1 : qint32(size);
    info.fromAddress = from.sin_family == AF_INET ? ntohl(from.sin_addr.s_addr) : 0;
    info.fromPort = ntohs(from.sin_port);
    info.stampNs = receiveTimeOf(message);
}
#endif

// The platform's receive time of the next waiting datagram, which stays
// waiting; -1 when none waits or none is told.
qint64 peekReceiveTime(QUdpSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0)
        return -1;
    char none;
    iovec payload{&none, 0};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    if (recvmsg(int(descriptor), &message, MSG_DONTWAIT | MSG_PEEK) < 0)
        return -1;
    return receiveTimeOf(message);
}
#else
qint64 peekReceiveTime(QUdpSocket&) {
    return -1;
}
#endif

// Reads one datagram through the socket object, or finds none (false).
bool readThroughSocket(QUdpSocket& socket, DatagramInfo& info, char* bytes) {
    // The socket object does not tell the receive time: look it up first.
    info.stampNs = peekReceiveTime(socket);
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

// The platform stamps receive times on the wall clock.
qint64 wallClockNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

qint64 steadyClockNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

#ifdef Q_OS_LINUX
// The headers of one batched read, made once: a read only aims them at its
// room and gives back the lengths the platform wrote over.
struct DatagramQueue::ReadBatch {
    static constexpr int Size = 64;

    mmsghdr messages[Size];
    iovec payloads[Size];
    sockaddr_in senders[Size];
    alignas(cmsghdr) char controls[Size][CMSG_SPACE(sizeof(timespec))];

    ReadBatch() {
        for (int i = 0; i < Size; ++i) {
            messages[i] = {};
            messages[i].msg_hdr.msg_name = &senders[i];
            messages[i].msg_hdr.msg_iov = &payloads[i];
            messages[i].msg_hdr.msg_iovlen = 1;
            messages[i].msg_hdr.msg_control = controls[i];
        }
    }
    // The first count datagrams go MaxSize apart from room on.
    void aimAt(char* room, int count) {
        for (int i = 0; i < count; ++i) {
            payloads[i] = {room + qsizetype(i) * DatagramInfo::MaxSize,
                           size_t(DatagramInfo::MaxSize)};
            messages[i].msg_hdr.msg_namelen = sizeof senders[i];
            messages[i].msg_hdr.msg_controllen = sizeof controls[i];
        }
    }
};
#else
struct DatagramQueue::ReadBatch {};
#endif

DatagramQueue::DatagramQueue()
    : infos_(Capacity), bytes_(new char[size_t(StorageSize)]),
      batch_(std::make_unique<ReadBatch>()) {}

DatagramQueue::~DatagramQueue() = default;

void DatagramQueue::stampArrivals([[maybe_unused]] QUdpSocket& socket) {
#if defined(Q_OS_UNIX) && defined(SO_TIMESTAMPNS)
    const int on = 1;
    setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
#endif
}

char* DatagramQueue::roomFor(int count) {
    // Fewer than Capacity datagrams of at most MaxSize are queued, so once
    // moved to the start the storage has room for every one still to come.
    if (endByte_ + qsizetype(count) * DatagramInfo::MaxSize > StorageSize) {
        std::memmove(bytes_.get(), bytes_.get() + headByte_, size_t(endByte_ - headByte_));
        endByte_ -= headByte_;
        headByte_ = 0;
    }
    return bytes_.get() + endByte_;
}

// Queues the datagram whose bytes were just read to the end of the bytes.
void DatagramQueue::append(const DatagramInfo& info) {
    infos_[size_t(slotAfterLast())] = info;
    endByte_ += std::max(info.count, 0);
    ++size_;
}

// Reads the waiting datagrams into the free slots, keeping one free; on the
// platforms that have it, a batch of them per system call, each received
// MaxSize apart and then moved up against the one before.
void DatagramQueue::readWaiting(QUdpSocket& socket) {
#ifdef Q_OS_LINUX
    const qintptr descriptor = socket.socketDescriptor();
    while (descriptor >= 0 && size_ + 1 < Capacity) {
        const int count = std::min(ReadBatch::Size, Capacity - 1 - size_);
        batch_->aimAt(roomFor(count), count);
        const int received =
            recvmmsg(int(descriptor), batch_->messages, unsigned(count), MSG_DONTWAIT, nullptr);
        for (int i = 0; i < received; ++i) {
            DatagramInfo info;
            noteReceived(batch_->messages[i].msg_hdr, batch_->messages[i].msg_len, info);
            if (info.count > 0 && i > 0)
                std::memmove(bytes_.get() + endByte_, batch_->payloads[i].iov_base,
                             size_t(info.count));
            append(info);
        }
        if (received < count)
            return; // none left waiting, or an error the socket object meets on its own read
    }
#else
    DatagramInfo info;
    while (size_ + 1 < Capacity && socket.hasPendingDatagrams() &&
           readThroughSocket(socket, info, roomFor(1)))
        append(info);
#endif
}

void DatagramQueue::fill(QUdpSocket& socket, bool notified) {
    const int before = size_;
    lastReadNs_ = steadyClockNs();
    // One slot stays free for the socket object's own read (and every fill
    // of a notification is followed by a take).
    readWaiting(socket);
    // The socket object counts a notification as served only once it has read
    // (or found nothing) itself, or it stops notifying; so that read comes
    // last, where the order of the datagrams keeps.
    if (notified && size_ < Capacity) {
        DatagramInfo info;
        if (readThroughSocket(socket, info, roomFor(1)) || size_ == 0)
            append(info);
    }
    settleArrivalTicks(before);
}

void DatagramQueue::refillIfDue(QUdpSocket& socket) {
    if (steadyClockNs() - lastReadNs_ >= ReadIntervalNs)
        fill(socket, false);
}

// Turns the platform's stamps of the datagrams queued from `first` on into
// ticks; a datagram without one arrived as far as anyone can tell now.
void DatagramQueue::settleArrivalTicks(int first) {
    if (first == size_)
        return;
    const TickSource::Reading reading;
    const qint64 nowNs = wallClockNs();
    for (int i = first; i < size_; ++i) {
        DatagramInfo& d = infos_[size_t((head_ + i) % Capacity)];
        d.arrivalTick = d.stampNs < 0 ? TickSource::now()
                                      : reading.before(std::max<qint64>(0, nowNs - d.stampNs));
    }
}

void DatagramQueue::takeOldest(DatagramInfo& info, char* bytes) {
    info = infos_[size_t(head_)];
    if (info.count > 0) {
        std::memcpy(bytes, bytes_.get() + headByte_, size_t(info.count));
        headByte_ += info.count;
    }
    // An emptied queue starts again at the start of its storage: datagrams
    // that are handed on as they come then reuse a few pages that are already
    // taken and in the cache, instead of walking through all of them.
    if (--size_ == 0) {
        head_ = 0;
        headByte_ = endByte_ = 0;
    } else {
        head_ = (head_ + 1) % Capacity;
    }
}
