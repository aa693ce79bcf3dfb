#include "RecordingReader.h"
#include "base/LauncherError.h"
#include "query/GameState.h"
#include "query/StatusQuery.h"
#include "query/StatusTokenizer.h"
#include "support/ErrorOf.h"

#include <QTest>

class TestStatusTokenizer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tokenize_data();
    void tokenize();
    void queryBytesAndPorts();
    void gameStates();
};

void TestStatusTokenizer::tokenize_data() {
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("error");

    QTest::newRow("full reply")
        << QByteArray(
               "\\gametype\\Coop\\numplayers\\3\\maxplayers\\12\\player_0\\Bob\\score_0\\5\\")
        << QStringList{"gametype=Coop", "numplayers=3", "maxplayers=12", "player=Bob", "score=5"}
        << QString();
    QTest::newRow("watcher keys and others ignored")
        << QByteArray("\\hostname\\Base\\gstate\\14\\gamever\\1.96\\mapname\\Everon\\")
        << QStringList{"gstate=14"} << QString();
    QTest::newRow("second datagram of a split reply")
        << QByteArray(
               "\\player_1\\Ann\\score_1\\-2\\player_2\\Cy\\score_2\\0\\final\\\\queryid\\3.2")
        << QStringList{"player=Ann", "score=-2", "player=Cy", "score=0", "final"} << QString();
    QTest::newRow("final as the last token")
        << QByteArray("\\player_0\\A\\final\\") << QStringList{"player=A", "final"} << QString();
    QTest::newRow("no trailing backslash")
        << QByteArray("\\numplayers\\0") << QStringList{} << QString();
    QTest::newRow("no backslash at all") << QByteArray("gametype") << QStringList{} << QString();
    QTest::newRow("empty datagram") << QByteArray() << QStringList{} << QString();
    QTest::newRow("first token counts as a key")
        << QByteArray("gametype\\Coop\\") << QStringList{"gametype=Coop"} << QString();
    QTest::newRow("empty values") << QByteArray("\\gametype\\\\numplayers\\\\")
                                  << QStringList{"gametype=", "numplayers="} << QString();

    QTest::newRow("player named like a key")
        << QByteArray("\\player_0\\gametype\\score_0\\7\\")
        << QStringList{"player=gametype", "gametype=score_0", "score=7"} << QString();
    QTest::newRow("value equal to a key re-arms it")
        << QByteArray("\\gametype\\numplayers\\4\\")
        << QStringList{"gametype=numplayers", "numplayers=4"} << QString();
    QTest::newRow("key after key")
        << QByteArray("\\numplayers\\numplayers\\2\\")
        << QStringList{"numplayers=numplayers", "numplayers=2"} << QString();

    QTest::newRow("keys are case-sensitive")
        << QByteArray("\\NumPlayers\\3\\GAMETYPE\\x\\Player_0\\a\\Score_0\\1\\") << QStringList{}
        << QString();
    QTest::newRow("player without underscore, playerX_")
        << QByteArray("\\player\\a\\playerX_\\b\\player_\\c\\") << QStringList{"player=c"}
        << QString();
    QTest::newRow("prefix keys match any suffix")
        << QByteArray("\\player_99_x\\Dee\\scoreboard\\12\\")
        << QStringList{"player=Dee", "score=12"} << QString();
    QTest::newRow("exact keys need the whole token")
        << QByteArray("\\gametypes\\x\\gstate_\\2\\") << QStringList{} << QString();

    QTest::newRow("hex maxplayers") << QByteArray("\\maxplayers\\$10\\maxplayers\\0x20\\")
                                    << QStringList{"maxplayers=16", "maxplayers=32"} << QString();
    QTest::newRow("bad maxplayers ends the datagram")
        << QByteArray("\\numplayers\\1\\maxplayers\\abc\\gametype\\Coop\\")
        << QStringList{"numplayers=1"} << QString("'abc' is not a valid integer value");
    QTest::newRow("maxplayers with trailing blank")
        << QByteArray("\\maxplayers\\12 \\") << QStringList{}
        << QString("'12 ' is not a valid integer value");
    QTest::newRow("long maxplayers") << QByteArray("\\maxplayers\\" + QByteArray(40, '0') + "7\\")
                                     << QStringList{"maxplayers=7"} << QString();
    QTest::newRow("long bad maxplayers keeps its text")
        << QByteArray("\\maxplayers\\" + QByteArray(40, 'z') + "\\") << QStringList{}
        << QString("'" + QString(40, u'z') + "' is not a valid integer value");

    QTest::newRow("bytes above 127 are one character each")
        << QByteArray("\\player_0\\J\xf6rg\xff\\gametype\\\xe9t\xe9\\")
        << QStringList{QString::fromLatin1("player=J\xf6rg\xff"),
                       QString::fromLatin1("gametype=\xe9t\xe9")}
        << QString();
    QTest::newRow("text ends at a zero byte")
        << QByteArray("\\gametype\\Coop\\numplayers\\3\0\\maxplayers\\12\\", 42)
        << QStringList{"gametype=Coop"} << QString();
    QTest::newRow("zero byte first")
        << QByteArray("\0\\gametype\\x\\", 13) << QStringList{} << QString();
}

void TestStatusTokenizer::tokenize() {
    QFETCH(QByteArray, datagram);
    QFETCH(QStringList, values);
    QFETCH(QString, error);

    RecordingReader reader;
    const QString thrown = errorOf([&] { StatusTokenizer::tokenize(datagram, reader); });
    QCOMPARE(reader.values, values);
    QCOMPARE(thrown, error);
}

void TestStatusTokenizer::queryBytesAndPorts() {
    QCOMPARE(QByteArray(StatusQuery.data(), StatusQuery.size()),
             QByteArray::fromHex("5c696e666f5c5c7374617475735c"));

    ServerTable servers;
    servers.Port[0] = "2302";
    servers.Sockets[0] = true;
    servers.Port[1] = "2302";
    servers.Sockets[1] = false;
    servers.Port[2] = "$8FE";
    servers.Sockets[2] = true;
    servers.Port[3] = "2302x";
    QCOMPARE(queryPort(servers, 0), 2303);
    QCOMPARE(queryPort(servers, 1), 2304);
    QCOMPARE(queryPort(servers, 2), 2303);
    QVERIFY_THROWS_EXCEPTION(LauncherError, queryPort(servers, 3));
    QCOMPARE(queryPort("2147483647", false), qint32(-2147483647)); // wraps, no overflow
    QCOMPARE(reducedMaxPlayers(12), 10);
    QCOMPARE(reducedMaxPlayers(-2147483647 - 1), 2147483646);
}

void TestStatusTokenizer::gameStates() {
    QCOMPARE(gameStateOf(QLatin1StringView("13")), Briefing);
    QCOMPARE(gameStateText(gameStateOf(QLatin1StringView("14"))), "Game in progress...");
    QCOMPARE(gameStateText(gameStateOf(QLatin1StringView("2"))), "Selecting mission");
    QCOMPARE(gameStateOf(QLatin1StringView("02")), NoGameState);
    QCOMPARE(gameStateOf(QLatin1StringView("")), NoGameState);
    QCOMPARE(gameStateText(NoGameState), QString());
}

QTEST_GUILESS_MAIN(TestStatusTokenizer)
#include "tst_status_tokenizer.moc"
