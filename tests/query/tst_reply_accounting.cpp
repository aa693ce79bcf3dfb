#include "query/QueryTable.h"
#include "query/ReplyAccounting.h"
#include "support/ErrorOf.h"

#include <QMap>
#include <QTest>
#include <memory>

namespace {

// Records the cells a reply writes, as "slot:column" -> text, in order.
class RecordingSink : public ServerRowSink {
public:
    void setCell(int server, ServerColumn column, const QString& text) override {
        writes << QStringLiteral("%1:%2=%3").arg(server).arg(int(column)).arg(text);
    }
    QStringList writes;
};

struct Tables {
    Tables() : servers(std::make_unique<ServerTable>()), queries(std::make_unique<QueryTable>()) {}

    // Adds a server that was queried at sendTick from 10.0.0.5.
    int add(const QString& port, bool sockets, quint32 sendTick = 100) {
        const int slot = ++servers->Last;
        servers->Port[slot] = port;
        servers->Sockets[slot] = sockets;
        queries->noteAddress(slot, 0x0A000005, port, sockets);
        queries->SendTick[slot] = sendTick;
        queries->resetPlayers(slot);
        return slot;
    }

    void accept(const QByteArray& datagram, qint32 port = 2303, quint32 now = 150) {
        acceptReply(datagram, QStringLiteral("10.0.0.5"), port, now, *servers, *queries, sink);
    }

    QStringList players(int slot) const {
        QStringList rows;
        for (int i = 0; i < queries->PlayerCount[slot]; ++i)
            rows << queries->playerName(slot, i) + u'=' + queries->playerScore(slot, i);
        return rows;
    }

    std::unique_ptr<ServerTable> servers;
    std::unique_ptr<QueryTable> queries;
    RecordingSink sink;
};

} // namespace

class TestReplyAccounting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matching_data();
    void matching();
    void cells_data();
    void cells();
    void everyMatchingServerGetsTheReply();
    void renotedServerAnswersAtItsNewAddressOnly();
    void badMaxplayersStopsTheDatagram();
    void playersAccumulateAcrossDatagrams();
    void scoresOutliveTheirSweep();
    void valuesWithoutRoomAreDropped();
    void rewrittenSlotsKeepTheirTexts();
};

void TestReplyAccounting::matching_data() {
    QTest::addColumn<QString>("savedPort");
    QTest::addColumn<bool>("sockets");
    QTest::addColumn<QString>("fromIp");
    QTest::addColumn<qint32>("fromPort");
    QTest::addColumn<bool>("matches");

    QTest::newRow("sockets, port + 1") << "2302" << true << "10.0.0.5" << 2303 << true;
    QTest::newRow("directplay, port + 2") << "2302" << false << "10.0.0.5" << 2304 << true;
    QTest::newRow("directplay at port + 1") << "2302" << false << "10.0.0.5" << 2303 << false;
    QTest::newRow("other address") << "2302" << true << "10.0.0.6" << 2303 << false;
    QTest::newRow("address with leading zero") << "2302" << true << "10.0.0.05" << 2303 << false;
    QTest::newRow("leading zero never matches") << "02302" << true << "10.0.0.5" << 2303 << false;
    QTest::newRow("leading blank never matches") << " 2302" << true << "10.0.0.5" << 2303 << false;
    QTest::newRow("hexadecimal never matches") << "$8FE" << true << "10.0.0.5" << 2303 << false;
    QTest::newRow("port 0 from port 1") << "0" << true << "10.0.0.5" << 1 << true;
    QTest::newRow("sender port 0 gives -1") << "-1" << true << "10.0.0.5" << 0 << true;
}

void TestReplyAccounting::matching() {
    QFETCH(QString, savedPort);
    QFETCH(bool, sockets);
    QFETCH(QString, fromIp);
    QFETCH(qint32, fromPort);
    QFETCH(bool, matches);

    Tables t;
    t.add(savedPort, sockets);
    QCOMPARE(replyMatches(*t.servers, *t.queries, 0, fromIp, fromPort), matches);
    acceptReply("\\numplayers\\1\\", fromIp, fromPort, 150, *t.servers, *t.queries, t.sink);
    QCOMPARE(t.sink.writes.isEmpty(), !matches);
}

void TestReplyAccounting::cells_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<quint32>("sendTick");
    QTest::addColumn<quint32>("now");
    QTest::addColumn<QStringList>("writes");

    QTest::newRow("full reply")
        << QByteArray("\\gametype\\Coop\\numplayers\\3\\maxplayers\\12\\player_0\\Bob\\"
                      "score_0\\5\\")
        << 100u << 142u << QStringList{"0:2=42", "0:4=Coop", "0:3=3/10"};
    QTest::newRow("ping across the tick wrap")
        << QByteArray("\\x\\") << 0xFFFFFFF0u << 0x10u << QStringList{"0:2=32"};
    QTest::newRow("maxplayers without numplayers leaves players blank")
        << QByteArray("\\maxplayers\\12\\") << 5u << 5u << QStringList{"0:2=0"};
    QTest::newRow("numplayers without maxplayers")
        << QByteArray("\\numplayers\\7\\") << 5u << 5u << QStringList{"0:2=0", "0:3=7/??"};
    QTest::newRow("hexadecimal maxplayers") << QByteArray("\\numplayers\\0\\maxplayers\\$10\\")
                                            << 5u << 5u << QStringList{"0:2=0", "0:3=0/14"};
    QTest::newRow("last numplayers and maxplayers count")
        << QByteArray("\\numplayers\\1\\maxplayers\\4\\numplayers\\2\\maxplayers\\6\\") << 5u << 5u
        << QStringList{"0:2=0", "0:3=2/4"};
    QTest::newRow("each gametype written as it comes")
        << QByteArray("\\gametype\\A\\gametype\\B\\") << 5u << 5u
        << QStringList{"0:2=0", "0:4=A", "0:4=B"};
    QTest::newRow("value cut off by the datagram's end")
        << QByteArray("\\gametype\\Coop") << 5u << 5u << QStringList{"0:2=0"};
}

void TestReplyAccounting::cells() {
    QFETCH(QByteArray, datagram);
    QFETCH(quint32, sendTick);
    QFETCH(quint32, now);
    QFETCH(QStringList, writes);

    Tables t;
    t.add("2302", true, sendTick);
    t.accept(datagram, 2303, now);
    QCOMPARE(t.sink.writes, writes);
}

void TestReplyAccounting::everyMatchingServerGetsTheReply() {
    Tables t;
    t.add("2302", true, 100);
    t.add("2302", false, 100); // queried at 2304: not this reply
    t.add("2301", false, 120); // DirectPlay one below: also at 2303
    t.add("02302", true, 100); // queried at 2303, never matches
    t.add("2302", true, 130);  // a second entry for the first server
    t.accept("\\numplayers\\1\\player_0\\Ann\\score_0\\3\\", 2303, 150);

    QCOMPARE(t.sink.writes,
             (QStringList{"0:2=50", "0:3=1/??", "2:2=30", "2:3=1/??", "4:2=20", "4:3=1/??"}));
    for (int slot : {0, 2, 4})
        QCOMPARE(t.players(slot), QStringList{"Ann=3"});
    for (int slot : {1, 3})
        QCOMPARE(t.queries->PlayerCount[slot], 0);
}

void TestReplyAccounting::renotedServerAnswersAtItsNewAddressOnly() {
    Tables t;
    t.add("2302", true);
    t.add("2302", true);
    t.queries->noteAddress(0, 0x0A000006, "2302", true); // the host moved to 10.0.0.6
    t.accept("\\numplayers\\1\\");
    acceptReply("\\numplayers\\2\\", QStringLiteral("10.0.0.6"), 2303, 150, *t.servers, *t.queries,
                t.sink);
    QCOMPARE(t.sink.writes, QStringList({"1:2=50", "1:3=1/??", "0:2=50", "0:3=2/??"}));
}

void TestReplyAccounting::badMaxplayersStopsTheDatagram() {
    Tables t;
    t.add("2302", true);
    t.add("2302", true);
    QCOMPARE(errorOf([&] {
                 t.accept("\\gametype\\Coop\\player_0\\Ann\\maxplayers\\abc\\player_1\\Cy\\");
             }),
             "'abc' is not a valid integer value");
    // The first server keeps what came before the bad value; the second never
    // saw the datagram.
    QCOMPARE(t.sink.writes, (QStringList{"0:2=50", "0:4=Coop"}));
    QCOMPARE(t.players(0), QStringList{"Ann="});
    QCOMPARE(t.queries->PlayerCount[1], 0);
}

void TestReplyAccounting::playersAccumulateAcrossDatagrams() {
    Tables t;
    t.add("2302", true);
    t.accept("\\numplayers\\3\\player_0\\Ann\\score_0\\1\\player_1\\Bo");
    t.accept("b\\score_1\\2\\player_2\\Cy\\score_2\\3\\");
    // Each datagram is a text of its own: "Bo" was never delivered, and the
    // second one's score_1 lands on the last stored player.
    QCOMPARE(t.players(0), (QStringList{"Ann=2", "Cy=3"}));
    t.accept("\\player_3\\Dee\\");
    QCOMPARE(t.players(0), (QStringList{"Ann=2", "Cy=3", "Dee="}));
}

void TestReplyAccounting::scoresOutliveTheirSweep() {
    Tables t;
    t.add("2302", true);
    t.accept("\\player_0\\Ann\\score_0\\10\\player_1\\Bob\\score_1\\20\\");

    t.queries->resetPlayers(0); // the next sweep
    QCOMPARE(t.queries->playerName(0, 0), QString("no players"));
    QCOMPARE(t.queries->playerScore(0, 0), QString("10"));
    t.accept("\\player_0\\Cy\\player_1\\Dee\\score_1\\7\\");
    QCOMPARE(t.players(0), (QStringList{"Cy=10", "Dee=7"}));
}

void TestReplyAccounting::valuesWithoutRoomAreDropped() {
    Tables t;
    t.add("2302", true);
    t.accept("\\numplayers\\2000000000\\"); // room is made only for what the datagram holds
    QVERIFY(t.queries->PlayerNames[0].capacity() <= 2);
    t.accept("\\score_0\\99\\"); // before any player of this sweep
    QCOMPARE(t.queries->playerScore(0, 0), QString());
    QCOMPARE(t.queries->PlayerCount[0], 0);

    QByteArray full;
    for (int i = 0; i < SLOT_COUNT; ++i)
        full += "\\player_\\p" + QByteArray::number(i) + "\\score\\" + QByteArray::number(i);
    t.accept(full + "\\");
    t.accept("\\player_\\extra\\score\\-1\\player_\\more\\");
    QCOMPARE(t.queries->PlayerCount[0], SLOT_COUNT);
    QCOMPARE(t.queries->PlayerNames[0].size(), SLOT_COUNT);
    QCOMPARE(t.queries->playerName(0, SLOT_COUNT - 1), QString("p1024"));
    QCOMPARE(t.queries->playerScore(0, SLOT_COUNT - 1), QString("1024"));

    // The next sweep has room again.
    t.queries->resetPlayers(0);
    t.accept("\\player_\\again\\score\\1\\");
    QCOMPARE(t.queries->playerName(0, 0), QString("again"));
    QCOMPARE(t.queries->playerScore(0, 0), QString("1"));
}

// Slots rewritten longer, shorter and empty, in place, at the block's end
// and across the packing of the block, against a list of texts.
void TestReplyAccounting::rewrittenSlotsKeepTheirTexts() {
    PlayerTexts texts;
    std::vector<QByteArray> expected;
    quint32 seed = 7;
    for (int write = 0; write < 3000; ++write) {
        seed = seed * 1103515245 + 12345;
        const auto index = qsizetype(seed >> 8) % 40;
        const QByteArray text(qsizetype(seed >> 20) % 41, char('a' + write % 26));
        texts.set(index, QLatin1StringView(text));
        if (size_t(index) >= expected.size())
            expected.resize(size_t(index) + 1);
        expected[size_t(index)] = text;
        QCOMPARE(texts.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(texts.view(qsizetype(i)), QLatin1StringView(expected[i]));
    }
    QCOMPARE(texts.view(40), QLatin1StringView());

    // A caption beyond Latin-1 reads whole until the slot is written again.
    const QString caption = QString::fromUtf8("\xe2\x82\xac players");
    texts.set(0, caption);
    QCOMPARE(texts.at(0), caption);
    texts.set(0, QLatin1StringView("Ann"));
    QCOMPARE(texts.at(0), QStringLiteral("Ann"));
}

QTEST_GUILESS_MAIN(TestReplyAccounting)
#include "tst_reply_accounting.moc"
