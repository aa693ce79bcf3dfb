#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

// The responder as a process, the way demos and manual tests start it.
class TestStatusResponder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
    void changesRepliesOverTime_data();
    void changesRepliesOverTime();
};

void TestStatusResponder::answers_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<QByteArray>>("datagrams");

    QTest::newRow("reply with escapes")
        << QStringList{"--reply", "\\\\gametype\\\\Coop\\x00\\x41\\"}
        << QList<QByteArray>{QByteArray("\\gametype\\Coop\0A\\", 17)};
    QTest::newRow("several replies, split")
        << QStringList{"--reply", "abcdefgh", "--split", "3", "--reply", "\\xff"}
        << QList<QByteArray>{"abc", "def", "gh", "\xff"};
    QTest::newRow("reply file, delayed")
        << QStringList{"--reply-file", "reply.bin", "--delay", "20"}
        << QList<QByteArray>{QByteArray("\\player_0\\\0\xe9\\", 13)};
    QTest::newRow("default reply")
        << QStringList{}
        << QList<QByteArray>{"\\gametype\\Coop\\numplayers\\1\\maxplayers\\12\\gstate\\14\\"
                             "player_0\\Bob\\score_0\\5\\"};
}

void TestStatusResponder::answers() {
    QFETCH(QStringList, options);
    QFETCH(QList<QByteArray>, datagrams);

    QTemporaryDir dir;
    QFile file(dir.filePath("reply.bin"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\\player_0\\\0\xe9\\", 13));
    file.close();

    QProcess responder;
    responder.setWorkingDirectory(dir.path());
    responder.start(ZAM_STATUS_RESPONDER, QStringList{"--port", "0"} + options);
    const auto stop = qScopeGuard([&] {
        responder.kill();
        responder.waitForFinished();
    });
    QVERIFY(responder.waitForReadyRead(10000));
    const QRegularExpressionMatch listening =
        QRegularExpression("listening on 127.0.0.1:(\\d+)").match(responder.readLine());
    QVERIFY(listening.hasMatch());

    QUdpSocket client;
    client.writeDatagram("\\info\\\\status\\", QHostAddress::LocalHost,
                         listening.captured(1).toUShort());
    QList<QByteArray> received;
    while (received.size() < datagrams.size() && client.waitForReadyRead(10000)) {
        while (client.hasPendingDatagrams()) {
            QByteArray data(int(client.pendingDatagramSize()), '\0');
            client.readDatagram(data.data(), data.size());
            received << data;
        }
    }
    QCOMPARE(received, datagrams);
}

void TestStatusResponder::changesRepliesOverTime_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QList<QByteArray>>("answers");

    QTest::newRow("second script after a second")
        << QStringList{"--reply", "first", "--then-after", "1", "--reply", "second"}
        << QList<QByteArray>{"first", "second"};
    QTest::newRow("each phase with its own options")
        << QStringList{"--reply",      "abcd",    "--split", "2",       "--then-after",
                       "1.5",          "--reply", "late",    "--delay", "50",
                       "--then-after", "1",       "--reply", "last"}
        << QList<QByteArray>{"ab|cd", "late", "last"};
}

// Queries the responder again and again and keeps each answer (its datagrams
// joined by "|") that differs from the one before, until the last expected
// answer arrives.
void TestStatusResponder::changesRepliesOverTime() {
    QFETCH(QStringList, options);
    QFETCH(QList<QByteArray>, answers);

    QProcess responder;
    responder.start(ZAM_STATUS_RESPONDER, QStringList{"--port", "0"} + options);
    const auto stop = qScopeGuard([&] {
        responder.kill();
        responder.waitForFinished();
    });
    QVERIFY(responder.waitForReadyRead(10000));
    const QRegularExpressionMatch listening =
        QRegularExpression("listening on 127.0.0.1:(\\d+)").match(responder.readLine());
    QVERIFY(listening.hasMatch());
    const quint16 port = listening.captured(1).toUShort();

    QUdpSocket client;
    QList<QByteArray> received;
    for (int query = 0; query < 300 && received.value(received.size() - 1) != answers.last();
         ++query) {
        client.writeDatagram("\\info\\\\status\\", QHostAddress::LocalHost, port);
        QList<QByteArray> datagrams;
        for (int wait = 10000; client.waitForReadyRead(wait); wait = 200) {
            while (client.hasPendingDatagrams()) {
                QByteArray data(int(client.pendingDatagramSize()), '\0');
                client.readDatagram(data.data(), data.size());
                datagrams << data;
            }
        }
        const QByteArray answer = datagrams.join('|');
        if (received.isEmpty() || received.last() != answer)
            received << answer;
    }
    QCOMPARE(received, answers);
}

QTEST_GUILESS_MAIN(TestStatusResponder)
#include "tst_status_responder.moc"
