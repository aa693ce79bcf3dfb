#include "query/StatusQuery.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"
#include "testkit/StatusResponder.h"

#include <QBuffer>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

namespace {

struct Arrival {
    qint32 numberBytes;
    QString fromIp;
    qint32 port;
    QByteArray stream; // a 20-byte stream after CopyDatagram
};

const QByteArray oldStream = "0123456789ABCDEFGHIJ";

// An endpoint on a free local port that records every arrival.
class Receiver {
public:
    UdpEndpoint udps;
    QList<Arrival> arrivals;
    quint16 port = 0;

    Receiver() {
        QUdpSocket probe;
        probe.bind(QHostAddress::AnyIPv4, 0);
        port = probe.localPort();
        probe.close();
        udps.setLocalPort(port);
        udps.OnDataReceived = [this](UdpEndpoint* Sender, qint32 NumberBytes, const QString& FromIP,
                                     qint32 Port) {
            QByteArray bytes = oldStream;
            QBuffer stream(&bytes);
            stream.open(QIODevice::ReadWrite);
            Sender->CopyDatagram(stream);
            QCOMPARE(stream.pos(), 0);
            arrivals.append({NumberBytes, FromIP, Port, bytes});
        };
    }
};

// A plain socket on 127.0.0.1 that reads what the endpoint sends without
// running the event loop.
class Peer {
public:
    QUdpSocket socket;
    quint16 port;

    Peer() {
        socket.bind(QHostAddress::LocalHost, 0);
        port = socket.localPort();
    }
    QByteArray next() {
        if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(5000))
            return "(nothing)";
        QByteArray data(int(socket.pendingDatagramSize()), '\0');
        socket.readDatagram(data.data(), data.size());
        return data;
    }
};

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UDPSockError& e) {
        return "UDPSockError: " + e.message();
    } catch (const LauncherError& e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TestUdpEndpoint : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void receive_data();
    void receive();
    void queuedDatagramsArriveOneEventEach();
    void floodLetsEventsThrough();
    void burstArrivesWholeInOrderWithArrivalTimes();
    void dottedHostSendsWithoutEventLoop_data();
    void dottedHostSendsWithoutEventLoop();
    void unusableDestination_data();
    void unusableDestination();
    void zeroLength_data();
    void zeroLength();
    void failedLookup_data();
    void failedLookup();
    void namedHostIsLookedUp();
    void secondSendDuringWaitKeepsItsOwnName();
    void handlerErrorEndsWaitingSend();
    void datagramsArriveWhileHandlerSendWaits();
    void handlerErrorWithoutSendIsReported();
    void takenLocalPortStillGetsReplies();
};

void TestUdpEndpoint::receive_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<qint32>("numberBytes");

    QTest::newRow("query") << QByteArray(StatusQueryText) << 14;
    QTest::newRow("full buffer") << QByteArray(2048, 'x') << 2048;
    QTest::newRow("one byte too long") << QByteArray(2049, 'x') << -1;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("binary") << QByteArray("\0\\\xff\x80", 4) << 4;
}

void TestUdpEndpoint::receive() {
    QFETCH(QByteArray, datagram);
    QFETCH(qint32, numberBytes);

    Receiver r;
    Peer sender;
    sender.socket.writeDatagram(datagram, QHostAddress::LocalHost, r.port);
    QTRY_COMPARE(r.arrivals.size(), 1);

    const Arrival& a = r.arrivals.first();
    QCOMPARE(a.numberBytes, numberBytes);
    QCOMPARE(a.stream, numberBytes > 0 ? datagram + oldStream.mid(numberBytes) : oldStream);
    if (numberBytes >= 0) {
        QCOMPARE(a.fromIp, "127.0.0.1");
        QCOMPARE(a.port, sender.port);
    }
}

void TestUdpEndpoint::queuedDatagramsArriveOneEventEach() {
    Receiver r;
    Peer first, second;
    // Queued while this thread runs no event loop.
    first.socket.writeDatagram("\\a\\", QHostAddress::LocalHost, r.port);
    second.socket.writeDatagram(QByteArray(3000, 'y'), QHostAddress::LocalHost, r.port);
    first.socket.writeDatagram("\\gametype\\x\\", QHostAddress::LocalHost, r.port);
    QTRY_COMPARE(r.arrivals.size(), 3);

    QCOMPARE(r.arrivals[0].numberBytes, 3);
    QCOMPARE(r.arrivals[0].port, first.port);
    QCOMPARE(r.arrivals[1].numberBytes, -1);
    QCOMPARE(r.arrivals[2].numberBytes, 12);
    QCOMPARE(r.arrivals[2].port, first.port);
    QCOMPARE(r.arrivals[2].stream.left(12), "\\gametype\\x\\");
}

void TestUdpEndpoint::floodLetsEventsThrough() {
    Receiver r;
    Peer sender;
    const int floodSize = 200;
    int handledWhenPostedRan = -1;
    r.udps.OnDataReceived = [&](UdpEndpoint*, qint32, const QString&, qint32) {
        r.arrivals.append(Arrival{});
        if (r.arrivals.size() == 1)
            QMetaObject::invokeMethod(
                this, [&] { handledWhenPostedRan = int(r.arrivals.size()); }, Qt::QueuedConnection);
    };
    for (int i = 0; i < floodSize; ++i)
        sender.socket.writeDatagram("\\x\\", QHostAddress::LocalHost, r.port);
    QTRY_COMPARE(r.arrivals.size(), floodSize);
    QVERIFY(handledWhenPostedRan > 0);
    QVERIFY2(handledWhenPostedRan < floodSize / 2, "the flood was read in one go");
}

// A burst of more datagrams than the queue holds, queued while the event
// loop is held up: every datagram comes whole and in order, timed by its
// arrival rather than by when the loop got to it.
void TestUdpEndpoint::burstArrivesWholeInOrderWithArrivalTimes() {
    Receiver r;
    Peer sender;
    const int burst = DatagramQueue::Capacity + UdpEndpoint::ReportsPerTurn + 5;
    QList<QByteArray> sent;
    QList<quint32> arrivalTicks, handlingTicks;
    const auto handle = r.udps.OnDataReceived;
    r.udps.OnDataReceived = [&](UdpEndpoint* Sender, qint32 NumberBytes, const QString& FromIP,
                                qint32 Port) {
        handle(Sender, NumberBytes, FromIP, Port);
        arrivalTicks.append(Sender->arrivalTick());
        handlingTicks.append(TickSource::now());
    };
    const quint32 beforeSending = TickSource::now();
    for (int i = 0; i < burst; ++i) {
        sent.append(QByteArray::number(i).repeated(1 + i % 7));
        sender.socket.writeDatagram(sent.last(), QHostAddress::LocalHost, r.port);
    }
    QThread::msleep(60);
    QTRY_COMPARE(r.arrivals.size(), burst);

    for (int i = 0; i < burst; ++i) {
        QCOMPARE(r.arrivals[i].numberBytes, sent[i].size());
        QCOMPARE(r.arrivals[i].stream.left(sent[i].size()), sent[i]);
        QCOMPARE(r.arrivals[i].port, sender.port);
        QVERIFY(arrivalTicks[i] - beforeSending <= handlingTicks[i] - beforeSending);
        if (i > 0)
            QVERIFY(arrivalTicks[i] - arrivalTicks[i - 1] < 0x80000000u);
    }
#ifdef Q_OS_LINUX
    // The platform stamps each arrival: the wait of the held-up loop is not in it.
    QVERIFY2(handlingTicks.first() - arrivalTicks.first() >= 50, "timed when read, not on arrival");
#endif
}

void TestUdpEndpoint::dottedHostSendsWithoutEventLoop_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<qint32>("portAbove");

    QTest::newRow("dotted") << "127.0.0.1" << 0;
    QTest::newRow("short form") << "127.1" << 0;
    QTest::newRow("one number in hex") << "0x7f000001" << 0;
    QTest::newRow("octal part") << "0177.0.0.1" << 0;
    QTest::newRow("port above 16 bits") << "127.0.0.1" << 65536;
}

void TestUdpEndpoint::dottedHostSendsWithoutEventLoop() {
    QFETCH(QString, host);
    QFETCH(qint32, portAbove);

    Peer server;
    UdpEndpoint udps;
    int sendEvents = 0;
    udps.OnDataSend = [&](UdpEndpoint* Sender) {
        QCOMPARE(Sender, &udps);
        ++sendEvents;
    };
    udps.setRemoteHost(host);
    udps.setRemotePort(server.port + portAbove);
    bool postedRan = false;
    QMetaObject::invokeMethod(
        this, [&] { postedRan = true; }, Qt::QueuedConnection);

    const QByteArray buffer = QByteArray(StatusQueryText) + QByteArray(114, '\0');
    udps.SendDatagram(buffer, StatusQueryLength);
    QVERIFY(!postedRan);
    QCOMPARE(sendEvents, 1);
    QCOMPARE(server.next(), QByteArray(StatusQueryText));
    QTRY_VERIFY(postedRan);
}

void TestUdpEndpoint::unusableDestination_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("error");

    QTest::newRow("null address") << "0.0.0.0"
                                  << "UDPSockError: Null Remote Address";
    QTest::newRow("zero in short form") << "0"
                                        << "UDPSockError: Null Remote Address";
    QTest::newRow("empty host") << ""
                                << "UDPSockError: Null Remote Address";
    QTest::newRow("all ones is looked up as a name") << "255.255.255.255" << QString();
}

void TestUdpEndpoint::unusableDestination() {
    QFETCH(QString, host);
    QFETCH(QString, error);

    UdpEndpoint udps;
    bool sent = false;
    udps.OnDataSend = [&](UdpEndpoint*) { sent = true; };
    udps.setRemoteHost(host);
    udps.setRemotePort(9); // the discard port: nothing listens on loopback
    QCOMPARE(errorOf([&] { udps.SendDatagram(StatusQuery, StatusQueryLength); }), error);
    QCOMPARE(sent, error.isEmpty());
}

void TestUdpEndpoint::zeroLength_data() {
    QTest::addColumn<bool>("hooked");
    QTest::addColumn<bool>("setHandled");
    QTest::addColumn<qint32>("newLength");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("calls");

    QTest::newRow("not hooked") << false << false << 0 << "Invalid buffer" << 0;
    QTest::newRow("handled with a length") << true << true << 14 << QString() << 1;
    QTest::newRow("handled, length still 0") << true << true << 0 << "Invalid buffer" << 1;
    QTest::newRow("length but not handled") << true << false << 14 << "Invalid buffer" << 1;
    QTest::newRow("length past the buffer") << true << true << 129 << "Invalid buffer" << 1;
    QTest::newRow("negative length") << true << true << -1 << "Invalid buffer" << 1;
}

void TestUdpEndpoint::zeroLength() {
    QFETCH(bool, hooked);
    QFETCH(bool, setHandled);
    QFETCH(qint32, newLength);
    QFETCH(QString, error);
    QFETCH(int, calls);

    Peer server;
    UdpEndpoint udps;
    udps.setRemoteHost("127.0.0.1");
    udps.setRemotePort(server.port);
    int handlerCalls = 0;
    if (hooked) {
        udps.OnBufferInvalid = [&](bool& handled, QByteArray& Buff, qint32& length) {
            ++handlerCalls;
            QVERIFY(!handled);
            QCOMPARE(Buff.size(), 128);
            Buff.replace(0, 5, "\\echo");
            handled = setHandled;
            length = newLength;
        };
    }
    const QByteArray callerBuffer = QByteArray(StatusQueryText) + QByteArray(114, '\0');
    QCOMPARE(errorOf([&] { udps.SendDatagram(callerBuffer, 0); }), error);
    QCOMPARE(handlerCalls, calls);
    QCOMPARE(callerBuffer.left(14), QByteArray(StatusQueryText));
    if (error.isEmpty())
        QCOMPARE(server.next(), "\\echo\\\\status\\");
}

void TestUdpEndpoint::failedLookup_data() {
    QTest::addColumn<bool>("hooked");
    QTest::addColumn<bool>("setHandled");
    QTest::addColumn<bool>("secondLookup");

    QTest::newRow("no handler") << false << false << false;
    QTest::newRow("handler leaves handled false") << true << false << false;
    QTest::newRow("handler sets handled") << true << true << true;
}

// A second lookup shows as a second wait: an event posted by the handler
// runs before the send gives up only when the send waits again.
void TestUdpEndpoint::failedLookup() {
    QFETCH(bool, hooked);
    QFETCH(bool, setHandled);
    QFETCH(bool, secondLookup);

    UdpEndpoint udps;
    udps.setRemoteHost(QString("zam-%1.invalid").arg(QTest::currentDataTag()).replace(' ', '-'));
    udps.setRemotePort(9);
    int handlerCalls = 0;
    bool postedRan = false;
    if (hooked) {
        udps.OnInvalidHost = [&](bool& handled) {
            ++handlerCalls;
            QVERIFY(!handled);
            handled = setHandled;
            QMetaObject::invokeMethod(
                this, [&] { postedRan = true; }, Qt::QueuedConnection);
        };
    }
    bool sent = false;
    udps.OnDataSend = [&](UdpEndpoint*) { sent = true; };

    QCOMPARE(errorOf([&] { udps.SendDatagram(StatusQuery, StatusQueryLength); }),
             "UDPSockError: Host Lookup Canceled");
    QCOMPARE(handlerCalls, hooked ? 1 : 0);
    QCOMPARE(postedRan, secondLookup);
    QVERIFY(!sent);
}

void TestUdpEndpoint::namedHostIsLookedUp() {
    Peer server;
    UdpEndpoint udps;
    udps.setRemoteHost("localhost");
    udps.setRemotePort(server.port);
    udps.SendDatagram(StatusQuery, StatusQueryLength);
    QCOMPARE(server.next(), QByteArray(StatusQueryText));
}

// While the first send waits for its name, an event starts a second send
// with another name that fails. The first send's answer arrives while the
// second one waits (the event gives the resolver time to post it first);
// each send still ends with the address of its own name.
void TestUdpEndpoint::secondSendDuringWaitKeepsItsOwnName() {
    Peer server;
    UdpEndpoint udps;
    QString innerError;
    QMetaObject::invokeMethod(
        this,
        [&] {
            QThread::msleep(200);
            udps.setRemoteHost("zam-inner.invalid");
            innerError = errorOf([&] { udps.SendDatagram(QByteArrayView("\\inner\\"), 7); });
        },
        Qt::QueuedConnection);

    udps.setRemoteHost("LocalHost"); // a name of its own, not answered from a cache
    udps.setRemotePort(server.port);
    udps.SendDatagram(QByteArrayView("\\outer\\"), 7);
    QCOMPARE(innerError, "UDPSockError: Host Lookup Canceled");
    QCOMPARE(server.next(), "\\outer\\");
}

void TestUdpEndpoint::handlerErrorEndsWaitingSend() {
    Receiver r;
    Peer server, trigger;
    r.udps.OnDataReceived = [](UdpEndpoint*, qint32, const QString&, qint32) {
        throw LauncherError("'abc' is not a valid integer value");
    };
    trigger.socket.writeDatagram("\\maxplayers\\abc\\", QHostAddress::LocalHost, r.port);

    r.udps.setRemoteHost("zam-waiting.invalid");
    r.udps.setRemotePort(server.port);
    QCOMPARE(errorOf([&] { r.udps.SendDatagram(StatusQuery, StatusQueryLength); }),
             "'abc' is not a valid integer value");
}

// A send started by a datagram handler waits for its name; the endpoint's
// next datagram is still reported, inside that wait.
void TestUdpEndpoint::datagramsArriveWhileHandlerSendWaits() {
    Receiver r;
    Peer sender;
    QStringList events;
    r.udps.OnDataReceived = [&](UdpEndpoint* Sender, qint32 NumberBytes, const QString&, qint32) {
        events << QString("begin %1").arg(NumberBytes);
        if (NumberBytes == 1) {
            sender.socket.writeDatagram("22", QHostAddress::LocalHost, r.port);
            Sender->setRemoteHost("zam-handler.invalid");
            events << errorOf([&] { Sender->SendDatagram(StatusQuery, StatusQueryLength); });
        }
        events << QString("end %1").arg(NumberBytes);
    };
    sender.socket.writeDatagram("1", QHostAddress::LocalHost, r.port);
    QTRY_COMPARE(events.size(), 5);
    QCOMPARE(events, QStringList({"begin 1", "begin 2", "end 2",
                                  "UDPSockError: Host Lookup Canceled", "end 1"}));
}

void TestUdpEndpoint::handlerErrorWithoutSendIsReported() {
    Receiver r;
    Peer sender;
    QStringList reported;
    r.udps.OnHandlerError = [&](UdpEndpoint*, const QString& message) { reported << message; };
    r.udps.OnDataReceived = [&](UdpEndpoint*, qint32 NumberBytes, const QString&, qint32) {
        r.arrivals.append({NumberBytes, {}, 0, {}});
        if (NumberBytes == 1)
            throw LauncherError("bad \x1b[2J\r\nreply"); // a peer's text in the message
    };
    QTest::ignoreMessage(QtWarningMsg, "Error in datagram handler: bad \\x1b[2J\\r\\nreply");
    sender.socket.writeDatagram("1", QHostAddress::LocalHost, r.port);
    sender.socket.writeDatagram("22", QHostAddress::LocalHost, r.port);
    QTRY_COMPARE(r.arrivals.size(), 2);
    QCOMPARE(reported, QStringList{"bad \x1b[2J\r\nreply"});
    QCOMPARE(r.arrivals[1].numberBytes, 2);
}

void TestUdpEndpoint::takenLocalPortStillGetsReplies() {
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::AnyIPv4, 0));

    StatusResponder responder;
    const quint16 serverPort = responder.listen(0, {{"\\gametype\\Coop\\"}, 0});
    QVERIFY(serverPort != 0);

    Receiver r;
    r.udps.setLocalPort(holder.localPort()); // taken: no error
    QCOMPARE(r.udps.LocalPort(), holder.localPort());
    r.udps.setRemoteHost("127.0.0.1");
    r.udps.setRemotePort(serverPort);
    r.udps.SendDatagram(StatusQuery, StatusQueryLength);

    QTRY_COMPARE(r.arrivals.size(), 1);
    QCOMPARE(r.arrivals[0].numberBytes, 15);
    QCOMPARE(r.arrivals[0].port, serverPort);
    QCOMPARE(responder.lastRequest(serverPort), QByteArray(StatusQueryText));
    QVERIFY(!holder.hasPendingDatagrams());
}

QTEST_GUILESS_MAIN(TestUdpEndpoint)
#include "tst_udp_endpoint.moc"
