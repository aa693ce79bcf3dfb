// bench_query: speed of the status tokenizer and of receiving replies through
// UdpEndpoint on loopback, and the heap allocations each received datagram
// costs. Prints the median of several rounds.

#include "query/StatusTokenizer.h"
#include "query/UdpEndpoint.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

// Counts heap allocations made by the main thread while counting is on,
// whoever makes them (Qt included), by standing in front of glibc's malloc.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
}

namespace {
thread_local bool countAllocations = false;
long allocations = 0;
} // namespace

extern "C" void* malloc(size_t size) {
    if (countAllocations)
        ++allocations;
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    if (countAllocations)
        ++allocations;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* p, size_t size) {
    if (countAllocations)
        ++allocations;
    return __libc_realloc(p, size);
}

namespace {

// A reply of a full 16-player server, about 1 KB.
QByteArray sixteenPlayerReply() {
    QByteArray reply = "\\gamename\\zam\\gamever\\1.96\\location\\0\\hostname\\Coop night "
                       "server\\hostport\\2302\\mapname\\Everon\\gametype\\Conquest of "
                       "Montignac\\numplayers\\16\\maxplayers\\18\\gamemode\\openplaying"
                       "\\timelimit\\0\\param1\\0\\param2\\0\\gstate\\14\\impl\\sockets";
    for (int i = 0; i < 16; ++i) {
        reply += QStringLiteral("\\player_%1\\Player name %1\\team_%1\\Alpha squad\\score_%1\\%2"
                                "\\deaths_%1\\%3")
                     .arg(i)
                     .arg(i * 7)
                     .arg(i % 4)
                     .toLatin1();
    }
    return reply + "\\final\\\\queryid\\1.1\\";
}

// Touches every value the way a window does, without keeping copies.
class CountingReader : public StatusReader {
public:
    qsizetype bytes = 0;
    qint32 sum = 0;
    void onPlayer(QLatin1StringView v) override { bytes += v.size(); }
    void onScore(QLatin1StringView v) override { bytes += v.size(); }
    void onGametype(QLatin1StringView v) override { bytes += v.size(); }
    void onNumplayers(QLatin1StringView v) override { bytes += v.size(); }
    void onMaxplayers(qint32 v) override { sum += reducedMaxPlayers(v); }
    void onGstate(QLatin1StringView v) override { bytes += v.size(); }
};

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double tokenizerMegabytesPerSecond(const QByteArray& reply, CountingReader& reader) {
    const int repeats = 20000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < repeats; ++i)
        StatusTokenizer::tokenize(reply, reader);
    return double(reply.size()) * repeats / (clock.nsecsElapsed() / 1e9) / 1e6;
}

struct ReceiveRound {
    double datagramsPerSecond;
    double allocationsPerDatagram;
};

// A second thread sends count datagrams, keeping at most window of them in
// flight so that none is dropped; this thread receives and tokenizes them.
ReceiveRound receiveRound(const QByteArray& reply, int count, bool tokenize) {
    UdpEndpoint udps;
    QUdpSocket probe;
    probe.bind(QHostAddress::AnyIPv4, 0);
    const quint16 port = probe.localPort();
    probe.close();
    udps.setLocalPort(port);

    // The windows' way: copy the datagram into a stream, tokenize its bytes.
    QByteArray bytes(UdpEndpoint::ReceiveBufferSize, '\0');
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadWrite);
    CountingReader reader;
    std::atomic<int> received = 0;
    udps.OnDataReceived = [&](UdpEndpoint* Sender, qint32 NumberBytes, const QString&, qint32) {
        if (tokenize && NumberBytes > 0) {
            Sender->CopyDatagram(stream);
            StatusTokenizer::tokenize(QByteArrayView(bytes.constData(), NumberBytes), reader);
        }
        received.fetch_add(1, std::memory_order_release);
    };

    const int window = 64;
    std::thread sender([&] {
        QUdpSocket socket;
        const QHostAddress to(QHostAddress::LocalHost);
        for (int sent = 0; sent < count; ++sent) {
            while (sent - received.load(std::memory_order_acquire) >= window)
                std::this_thread::yield();
            socket.writeDatagram(reply, to, port);
        }
    });

    QElapsedTimer clock;
    clock.start();
    allocations = 0;
    countAllocations = true;
    while (received.load(std::memory_order_acquire) < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    countAllocations = false;
    const double seconds = clock.nsecsElapsed() / 1e9;
    sender.join();
    return {count / seconds, double(allocations) / count};
}

// Allocations of Qt's own QUdpSocket::readDatagram when it reports the
// sender, the part of the endpoint's receive that is not the endpoint's code.
double qtReadAllocationsPerDatagram(const QByteArray& reply) {
    QUdpSocket receiver, sender;
    receiver.bind(QHostAddress::LocalHost, 0);
    char buffer[UdpEndpoint::ReceiveBufferSize];
    QHostAddress from;
    quint16 fromPort = 0;
    const int batches = 20, batchSize = 50;
    long total = 0;
    for (int b = 0; b < batches; ++b) {
        for (int i = 0; i < batchSize; ++i)
            sender.writeDatagram(reply, QHostAddress::LocalHost, receiver.localPort());
        allocations = 0;
        countAllocations = true;
        for (int i = 0; i < batchSize; ++i)
            receiver.readDatagram(buffer, sizeof buffer, &from, &fromPort);
        countAllocations = false;
        total += allocations;
    }
    return double(total) / (batches * batchSize);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QByteArray reply = sixteenPlayerReply();
    const int rounds = 7;
    std::printf("reply: %lld bytes, 16 players; median of %d rounds\n",
                static_cast<long long>(reply.size()), rounds);

    CountingReader reader;
    QList<double> speeds;
    for (int i = 0; i < rounds; ++i)
        speeds << tokenizerMegabytesPerSecond(reply, reader);
    allocations = 0;
    countAllocations = true;
    StatusTokenizer::tokenize(reply, reader);
    countAllocations = false;
    std::printf("tokenizer: %.0f MB/s (%.0f replies/s), %ld allocations per reply\n",
                median(speeds), median(speeds) * 1e6 / reply.size(), allocations);

    for (const bool tokenize : {false, true}) {
        QList<double> rates, allocationCounts;
        for (int i = 0; i < rounds; ++i) {
            const ReceiveRound r = receiveRound(reply, 50000, tokenize);
            rates << r.datagramsPerSecond;
            allocationCounts << r.allocationsPerDatagram;
        }
        std::printf("UdpEndpoint receive%s: %.0f datagrams/s, %.2f allocations per datagram\n",
                    tokenize ? " + tokenize" : "", median(rates), median(allocationCounts));
    }
    std::printf("of which QUdpSocket::readDatagram with sender: %.2f allocations per datagram\n",
                qtReadAllocationsPerDatagram(reply));
    return reader.sum == 42 ? 1 : 0; // keeps the work observable
}
