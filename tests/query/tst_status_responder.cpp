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

QTEST_GUILESS_MAIN(TestStatusResponder)
#include "tst_status_responder.moc"
