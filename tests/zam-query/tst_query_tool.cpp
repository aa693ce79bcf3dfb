#include "settings/Tables.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StandInMaster.h"
#include "testkit/StatusResponder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// zam-query run as a process against responders of this test on 127.0.0.1.
class TestQueryTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void table_data();
    void table();
    void jsonHasPlayersAndScores();
    void controlCharactersNeverReachTheTerminal_data();
    void controlCharactersNeverReachTheTerminal();
    void moreServersThanATable();
    void badArguments_data();
    void badArguments();
    void savedServers();
    void missingStore();
    void friends_data();
    void friends();
    void fromMaster_data();
    void fromMaster();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    // Runs the tool while this test's event loop keeps the responders answering.
    Run run(const QStringList& arguments, const QString& configHome = QString());
    QString gameAddress(quint16 queryPort, int offset) const {
        return QStringLiteral("127.0.0.1:%1").arg(queryPort - offset);
    }

    StatusResponder responder;
    quint16 coopPort = 0;
    quint16 silentPort = 0;
    quint16 twoPartPort = 0; // a reply in two datagrams, the second one ends it
    QTemporaryDir emptyHome;
};

void TestQueryTool::initTestCase() {
    coopPort = responder.listen(
        0, {{"\\gametype\\Coop\\numplayers\\2\\maxplayers\\12\\player_0\\Ann\\score_0\\7\\"
             "player_1\\Bob\\score_1\\-3\\"}});
    silentPort = responder.listen(0, {});
    twoPartPort = responder.listen(
        0, {{"\\numplayers\\3\\maxplayers\\12\\player_0\\Ann\\score_0\\1\\queryid\\1.1\\",
             "\\player_1\\Bob\\score_1\\2\\player_2\\Cy\\score_2\\3\\final\\\\queryid\\1.2\\"}});
    QVERIFY(coopPort && silentPort && twoPartPort);
}

TestQueryTool::Run TestQueryTool::run(const QStringList& arguments, const QString& configHome) {
    QProcess tool;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", configHome.isEmpty() ? emptyHome.path() : configHome);
    environment.remove("WINEPREFIX");
    tool.setProcessEnvironment(environment);
    tool.start(ZAM_QUERY, arguments);
    if (!tool.waitForStarted())
        return {};
    QDeadlineTimer deadline(30000);
    while (tool.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(5);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

void TestQueryTool::table_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("withAnswering");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("sockets, one silent") << QStringList{} << 1 << true << 0;
    QTest::newRow("directplay, one silent") << QStringList{"--dplay"} << 2 << true << 0;
    QTest::newRow("offset of the other implementation") << QStringList{"--dplay"} << 1 << true << 1;
    QTest::newRow("all silent") << QStringList{} << 1 << false << 1;
}

void TestQueryTool::table() {
    QFETCH(QStringList, options);
    QFETCH(int, offset);
    QFETCH(bool, withAnswering);
    QFETCH(int, exitCode);

    QStringList servers{gameAddress(silentPort, offset)};
    if (withAnswering)
        servers.prepend(gameAddress(coopPort, offset));
    const Run result = run(options + QStringList{"--timeout", "300"} + servers);
    QCOMPARE(result.exitCode, exitCode);

    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + servers.size());
    QVERIFY(lines[0].startsWith("NAME"));
    const QRegularExpression silentRow("^-\\s+" + QRegularExpression::escape(servers.last()) +
                                       "\\s+\\?\\?\\s+-\\s+-$");
    QVERIFY2(silentRow.match(lines.last()).hasMatch(), qPrintable(lines.last()));
    if (withAnswering && exitCode == 0) {
        const QRegularExpression answered("^-\\s+" + QRegularExpression::escape(servers[0]) +
                                          "\\s+\\d+\\s+2/10\\s+Coop$");
        QVERIFY2(answered.match(lines[1]).hasMatch(), qPrintable(lines[1]));
    }
}

void TestQueryTool::jsonHasPlayersAndScores() {
    const Run result = run({"--json", "--timeout", "300", gameAddress(coopPort, 1),
                            gameAddress(silentPort, 1), gameAddress(twoPartPort, 1)});
    QCOMPARE(result.exitCode, 0);
    const QJsonArray servers = QJsonDocument::fromJson(result.out.toUtf8()).array();
    QCOMPARE(servers.size(), 3);

    const QJsonObject coop = servers[0].toObject();
    QVERIFY(coop["answered"].toBool());
    QVERIFY(coop["ping"].isDouble());
    QCOMPARE(coop["players"].toString(), "2/10");
    QCOMPARE(coop["mission"].toString(), "Coop");
    QCOMPARE(coop["port"].toString(), QString::number(coopPort - 1));
    const QJsonArray players = coop["playerList"].toArray();
    QCOMPARE(players.size(), 2);
    QCOMPARE(players[0].toObject()["name"].toString(), "Ann");
    QCOMPARE(players[0].toObject()["score"].toString(), "7");
    QCOMPARE(players[1].toObject()["name"].toString(), "Bob");
    QCOMPARE(players[1].toObject()["score"].toString(), "-3");

    const QJsonObject silent = servers[1].toObject();
    QVERIFY(!silent["answered"].toBool());
    QVERIFY(silent["ping"].isNull());
    QVERIFY(silent["playerList"].toArray().isEmpty());

    // Both parts are read: the players of the first and of the second.
    const QJsonArray twoParts = servers[2].toObject()["playerList"].toArray();
    QCOMPARE(twoParts.size(), 3);
    QCOMPARE(twoParts[2].toObject()["name"].toString(), "Cy");
}

void TestQueryTool::controlCharactersNeverReachTheTerminal_data() {
    QTest::addColumn<bool>("json");
    QTest::newRow("table") << false;
    QTest::newRow("json") << true;
}

// A server's mission and player name carry ESC, BEL, CR, LF, DEL and a C1
// control: the table shows them escaped, the JSON keeps them exact, and
// neither output holds a control character besides its own line ends.
void TestQueryTool::controlCharactersNeverReachTheTerminal() {
    QFETCH(bool, json);
    const QByteArray mission = "\x1b]0;title\x07\rFAKE\nline\x7f\x9b"
                               "2J";
    const quint16 port = responder.listen(
        0, {{"\\gametype\\" + mission + "\\numplayers\\1\\player_0\\\x1b[2JAnn\\score_0\\1\\"}});
    QVERIFY(port);
    const Run result = run(QStringList{"--timeout", "300", gameAddress(port, 1)} +
                           (json ? QStringList{"--json"} : QStringList{}));
    QCOMPARE(result.exitCode, 0);
    for (const QChar c : result.out)
        QVERIFY2(c == u'\n' || (c >= u' ' && c != u'\x7f' && (c < u'\x80' || c > u'\x9f')),
                 qPrintable(QString::number(c.unicode(), 16)));
    if (!json) {
        QVERIFY2(result.out.contains("\\x1b]0;title\\x07\\rFAKE\\nline\\x7f\\x9b2J"),
                 qPrintable(result.out));
        return;
    }
    const QJsonObject server = QJsonDocument::fromJson(result.out.toUtf8()).array()[0].toObject();
    QCOMPARE(server["mission"].toString(), QString::fromLatin1(mission));
    QCOMPARE(server["playerList"].toArray()[0].toObject()["name"].toString(),
             QString("\x1b[2JAnn"));
}

// Beyond the browser's table: servers from a file and from the command
// line, each answering with its own player count, every reply matched to
// its own row.
void TestQueryTool::moreServersThanATable() {
    StatusResponder crowd;
    QStringList addresses;
    for (int k = 0; k < SLOT_COUNT + 100; ++k) {
        const QByteArray players = QByteArray::number(k);
        const quint16 port = crowd.listen(0, {{"\\numplayers\\" + players + "\\maxplayers\\" +
                                               QByteArray::number(k + 2) + "\\"}});
        QVERIFY(port);
        addresses << gameAddress(port, 1);
    }
    QTemporaryDir dir;
    QFile list(dir.filePath("servers"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(addresses.mid(0, addresses.size() - 1).join("\n  ").toUtf8());
    list.close();

    const Run result =
        run({"--rate", "100000", "--timeout", "2000", "--file", list.fileName(), addresses.last()});
    QCOMPARE(result.exitCode, 0);
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1 + addresses.size());
    for (int k = 0; k < addresses.size(); ++k) {
        const QRegularExpression row("^-\\s+" + QRegularExpression::escape(addresses[k]) +
                                     "\\s+\\d+\\s+" + QString("%1/%1").arg(k) + "\\s+-$");
        QVERIFY2(row.match(lines[k + 1]).hasMatch(), qPrintable(lines[k + 1]));
    }
}

void TestQueryTool::badArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--bogus", "127.0.0.1:2302"};
    QTest::newRow("no port") << QStringList{"127.0.0.1"};
    QTest::newRow("no host") << QStringList{":2302"};
    QTest::newRow("port too large") << QStringList{"127.0.0.1:65536"};
    QTest::newRow("port with sign") << QStringList{"127.0.0.1:+2302"};
    QTest::newRow("port of many digits") << QStringList{"127.0.0.1:99999999999999999999992302"};
    QTest::newRow("empty port") << QStringList{"127.0.0.1:"};
    QTest::newRow("timeout without value") << QStringList{"127.0.0.1:2302", "--timeout"};
    QTest::newRow("timeout not a number") << QStringList{"--timeout", "1s", "127.0.0.1:2302"};
    QTest::newRow("rate zero") << QStringList{"--rate", "0", "127.0.0.1:2302"};
    QTest::newRow("rate without value") << QStringList{"127.0.0.1:2302", "--rate"};
    QTest::newRow("missing file") << QStringList{"--file", "/nonexistent/servers"};
    QTest::newRow("friends on the LAN") << QStringList{"--lan", "--friends"};
}

void TestQueryTool::badArguments() {
    QFETCH(QStringList, arguments);
    const int requestsBefore =
        responder.requestCount(coopPort) + responder.requestCount(silentPort);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY2(result.err.contains("usage: zam-query"), qPrintable(result.err));
    QCOMPARE(responder.requestCount(coopPort) + responder.requestCount(silentPort), requestsBefore);
}

void TestQueryTool::savedServers() {
    // The game port whose query port (+1 for Sockets, +2 for DirectPlay) is `port`.
    const auto server = [](const QString& name, quint16 port, bool sockets) {
        return ServerEntry{name, "127.0.0.1", QString::number(port - (sockets ? 1 : 2)),
                           "",   sockets,     ""};
    };
    // No launcher key: the launcher itself would run its first-run set-up here.
    const QByteArray store =
        StoreText()
            .server(1, server("Coop by sockets", coopPort, true))
            .server(2, server("Coop by dplay", coopPort, false))
            .server(3, server("Quiet one", silentPort, true))
            .key(StoreKeys::serverEntry("4"), {{"name", quoted("No sockets value")}});
    StoreFixture home;
    home.write(store);

    const Run result = run({"--timeout", "300"}, home.dir.path());
    QCOMPARE(result.exitCode, 0);
    const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines[1].startsWith("Coop by sockets") &&
                 lines[1].contains(QRegularExpression("2/10\\s+Coop$")),
             qPrintable(lines[1]));
    QVERIFY2(lines[2].startsWith("Coop by dplay") &&
                 lines[2].contains(QRegularExpression("2/10\\s+Coop$")),
             qPrintable(lines[2]));
    QVERIFY2(result.err.contains("saved server 4 skipped"), qPrintable(result.err));
    QVERIFY2(lines[3].startsWith("Quiet one") && lines[3].contains("??"), qPrintable(lines[3]));

    QCOMPARE(home.read(), store);
    QCOMPARE(QDir(home.dir.filePath("zam-launcher")).entryList(QDir::Files),
             QStringList{"registry.reg"});
}

void TestQueryTool::missingStore() {
    const Run result = run({});
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains("no saved servers"), qPrintable(result.err));
    QVERIFY(QDir(emptyHome.path()).isEmpty());
}

void TestQueryTool::friends_data() {
    QTest::addColumn<QByteArray>("friendsKey");
    QTest::addColumn<bool>("json");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("found"); // per server shown: its friends, ", "-joined

    const QByteArray bob = StoreText::keysOnly().friendEntry(5, " bob ");
    const QByteArray ann = StoreText::keysOnly().friendEntry(6, "ANN");
    const QByteArray zed = StoreText::keysOnly().friendEntry(7, "Zed");
    QTest::newRow("two friends, table") << bob + ann + zed << false << 0 << QStringList{"ANN, bob"};
    QTest::newRow("two friends, json") << bob + ann << true << 0 << QStringList{"ANN, bob"};
    QTest::newRow("none playing") << zed << false << 1 << QStringList{};
    QTest::newRow("none playing, json") << zed << true << 1 << QStringList{};
    QTest::newRow("no friends saved") << QByteArray() << false << 2 << QStringList{};
}

// Only the servers with friends are listed, with the friends in playing order.
void TestQueryTool::friends() {
    QFETCH(QByteArray, friendsKey);
    QFETCH(bool, json);
    QFETCH(int, exitCode);
    QFETCH(QStringList, found);
    StoreFixture home;
    home.write(StoreText() + friendsKey);

    QStringList arguments{"--friends", "--timeout", "300", gameAddress(coopPort, 1),
                          gameAddress(silentPort, 1)};
    if (json)
        arguments << "--json";
    const Run result = run(arguments, home.dir.path());
    QCOMPARE(result.exitCode, exitCode);
    if (exitCode == 2) {
        QVERIFY2(result.err.contains("no friends saved"), qPrintable(result.err));
        return;
    }
    QStringList shown;
    if (json) {
        for (const QJsonValue server : QJsonDocument::fromJson(result.out.toUtf8()).array()) {
            QStringList names;
            for (const QJsonValue name : server.toObject()["friends"].toArray())
                names << name.toString();
            shown << names.join(", ");
        }
    } else {
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines[0].startsWith("NAME") && lines[0].endsWith("FRIENDS"));
        for (const QString& line : lines.mid(1)) {
            QVERIFY2(line.contains(gameAddress(coopPort, 1)), qPrintable(line));
            shown << line.section("Coop", 1).trimmed();
        }
    }
    QCOMPARE(shown, found);
}

void TestQueryTool::fromMaster_data() {
    QTest::addColumn<QStringList>("arguments"); // "$" is the stand-in master
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<bool>("masterStored");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");

    QTest::newRow("from the command line")
        << QStringList{"--master", "$", "--game", "zam", "--key", "k"} << false << false << 0
        << QString();
    QTest::newRow("master and game from the store")
        << QStringList{"--key", "k"} << false << true << 0 << QString();
    QTest::newRow("refused") << QStringList{"--master", "$", "--game", "zam"} << true << false << 1
                             << "zam-query: master $: refused the list: unknown game";
    QTest::newRow("no master anywhere")
        << QStringList{"--game", "zam"} << false << false << 1 << "zam-query: no master server";
}

// The listed servers are queried at their query ports, shown at the reply's
// hostport or else at the port one below; a master that gives no list is an
// error of exit status 1.
void TestQueryTool::fromMaster() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, refuse);
    QFETCH(bool, masterStored);
    QFETCH(int, exitCode);
    QFETCH(QString, error);

    StandInMaster master;
    const quint32 local = 0x7F000001;
    StatusResponder elsewhere;
    const quint16 elsewherePort = elsewhere.listen(0, {{"\\hostport\\2302\\gametype\\Far\\"}});
    master.answer =
        refuse ? "\\error\\unknown game\\"
               : StandInMaster::listAnswer(
                     {{local, coopPort}, {local, silentPort}, {local, elsewherePort}}, true);
    arguments.replaceInStrings(QStringLiteral("$"), master.address());
    error.replace(u'$', master.address());
    StoreFixture home;
    if (masterStored)
        home.write(StoreText().key(StoreKeys::Launcher, {{"masters", quoted(master.address())},
                                                         {"mastergame", quoted("zam")}}));
    const Run result = run(arguments + QStringList{"--timeout", "300"},
                           masterStored ? home.dir.path() : QString());
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(error.isEmpty() ? result.err.isEmpty() : result.err.startsWith(error),
             qPrintable(result.err));
    if (exitCode == 0) {
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines.filter(gameAddress(coopPort, 1)).value(0).endsWith("Coop"),
                 qPrintable(result.out));
        QCOMPARE(lines.filter(gameAddress(silentPort, 1)).size(), 1);
        QVERIFY2(lines.filter("127.0.0.1:2302 ").value(0).endsWith("Far"), qPrintable(result.out));
        QVERIFY(master.request.contains("\\list\\cmp\\gamename\\zam\\final\\"));
    }
}

QTEST_GUILESS_MAIN(TestQueryTool)
#include "tst_query_tool.moc"
