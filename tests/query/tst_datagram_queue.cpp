#include "query/DatagramQueue.h"

#include <QTest>
#include <QUdpSocket>

namespace {

// Datagram k: its size runs through 1 to MaxSize + 1 (one too long to keep),
// its bytes tell k apart from its neighbours.
QByteArray datagram(int k) {
    const int size = 1 + (k * 7919) % (DatagramInfo::MaxSize + 1);
    return QByteArray(size, char('a' + k % 26));
}

} // namespace

class TestDatagramQueue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Datagrams come out whole and in order however reads and takes
    // interleave: a queue that empties each round, and one that never
    // empties while far more than its storage passes through it.
    void keepsEveryDatagramWholeAndInOrder_data() {
        QTest::addColumn<int>("sendsPerRound");
        QTest::addColumn<int>("takesPerRound");
        QTest::addColumn<int>("rounds");
        QTest::newRow("empties every round") << 30 << 30 << 6;
        QTest::newRow("never empties") << 30 << 29 << 90;
        QTest::newRow("one at a time") << 1 << 1 << 5;
    }
    void keepsEveryDatagramWholeAndInOrder() {
        QFETCH(int, sendsPerRound);
        QFETCH(int, takesPerRound);
        QFETCH(int, rounds);
        QUdpSocket receiver, sender;
        QVERIFY(receiver.bind(QHostAddress::LocalHost, 0));
        QVERIFY(sender.bind(QHostAddress::LocalHost, 0));
        DatagramQueue queue;
        int sent = 0, taken = 0;
        char bytes[DatagramInfo::MaxSize];
        const auto takeOne = [&] {
            DatagramInfo info;
            queue.takeOldest(info, bytes);
            const QByteArray expected = datagram(taken++);
            if (expected.size() > DatagramInfo::MaxSize) {
                QCOMPARE(info.count, -1);
                return;
            }
            QCOMPARE(QByteArray(bytes, info.count), expected);
            QCOMPARE(info.fromPort, sender.localPort());
        };
        for (int round = 0; round < rounds; ++round) {
            for (int i = 0; i < sendsPerRound; ++i, ++sent)
                sender.writeDatagram(datagram(sent), QHostAddress::LocalHost, receiver.localPort());
            queue.fill(receiver, false);
            for (int i = 0; i < takesPerRound && !queue.empty(); ++i)
                takeOne();
        }
        while (!queue.empty())
            takeOne();
        QCOMPARE(taken, sent);
    }
};

QTEST_GUILESS_MAIN(TestDatagramQueue)
#include "tst_datagram_queue.moc"
