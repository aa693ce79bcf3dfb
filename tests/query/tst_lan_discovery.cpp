#include "query/LanDiscovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

// Runs ip with arguments; true when it succeeded.
bool ip(const QStringList& arguments) {
    QProcess run;
    run.start(QStringLiteral("ip"), arguments);
    return run.waitForFinished(10000) && run.exitStatus() == QProcess::NormalExit &&
           run.exitCode() == 0;
}

// Two network namespaces joined by a veth pair: 198.18.0.1/24 in the
// searcher's, 198.18.0.2/24 in the servers'. Removed with the object.
struct NamespacePair {
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString searcher = QStringLiteral("zam-lan-a-") + tag;
    const QString servers = QStringLiteral("zam-lan-b-") + tag;
    bool made = false;

    NamespacePair() {
        const QString a = QStringLiteral("zla") + tag, b = QStringLiteral("zlb") + tag;
        made = ip({"netns", "add", searcher}) && ip({"netns", "add", servers}) &&
               ip({"link", "add", a, "type", "veth", "peer", "name", b}) &&
               ip({"link", "set", a, "netns", searcher}) &&
               ip({"link", "set", b, "netns", servers}) &&
               ip({"-n", searcher, "addr", "add", "198.18.0.1/24", "dev", a}) &&
               ip({"-n", servers, "addr", "add", "198.18.0.2/24", "dev", b}) &&
               ip({"-n", searcher, "link", "set", a, "up"}) &&
               ip({"-n", servers, "link", "set", b, "up"});
    }
    ~NamespacePair() {
        ip({"netns", "delete", searcher}); // takes the veth pair with it
        ip({"netns", "delete", servers});
    }
};

} // namespace

class TestLanDiscovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheReply_data();
    void readsTheReply();
    void findsServersByBroadcast();
};

void TestLanDiscovery::readsTheReply_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("queryPort");
    QTest::addColumn<QString>("expected"); // name|game port|sockets|players|mission|players

    QTest::newRow("sockets") << QByteArray(
                                    "\\hostname\\Den\\hostport\\2302\\gametype\\Coop\\"
                                    "numplayers\\1\\maxplayers\\12\\player_0\\Bob\\score_0\\5\\")
                             << 2303 << "Den|2302|1|1/10|Coop|Bob=5";
    QTest::newRow("directplay") << QByteArray("\\hostport\\2302\\hostname\\Dp\\") << 2304
                                << "Dp|2302|0|||";
    QTest::newRow("no hostport") << QByteArray("\\hostname\\Old\\numplayers\\0\\") << 2311
                                 << "Old|2310|1|0/??||";
    QTest::newRow("hostport far off") << QByteArray("\\hostport\\2402\\") << 2305 << "|2304|1|||";
    QTest::newRow("bad maxplayers keeps the rest") << QByteArray("\\hostname\\X\\player_0\\Ann\\"
                                                                 "maxplayers\\abc\\numplayers\\3\\")
                                                   << 2303 << "X|2302|1|||Ann=";
}

void TestLanDiscovery::readsTheReply() {
    QFETCH(QByteArray, reply);
    QFETCH(int, queryPort);
    LanServer server;
    readLanReply(reply, queryPort, server);
    QStringList players;
    for (qsizetype i = 0; i < server.playerNames.size(); ++i)
        players << server.playerNames[i] + u'=' + server.playerScores[i];
    QFETCH(QString, expected);
    QCOMPARE(QStringList({server.name, QString::number(server.gamePort),
                          QString::number(int(server.sockets)), server.players, server.mission,
                          players.join(u',')})
                 .join(u'|'),
             expected);
}

// zam-query --lan in one namespace finds the responders of the other, on
// both implementations and without hostport, by a real directed broadcast.
void TestLanDiscovery::findsServersByBroadcast() {
    NamespacePair net;
    if (!net.made)
        QSKIP("network namespaces cannot be made here (needs root and ip netns)");
    QProcess servers;
    servers.start("ip",
                  {"netns", "exec", net.servers, ZAM_STATUS_RESPONDER, "--any", "--port", "2303",
                   "--reply", "\\\\hostname\\\\Den\\\\hostport\\\\2302\\\\", "--port", "2305",
                   "--reply", "\\\\hostname\\\\Dp\\\\hostport\\\\2303\\\\", "--port", "2341"});
    QByteArray listening;
    while (listening.count('\n') < 3 && servers.waitForReadyRead(10000))
        listening += servers.readAllStandardOutput();
    QCOMPARE(listening.count('\n'), 3);
    QProcess search;
    search.start("ip", {"netns", "exec", net.searcher, ZAM_QUERY, "--lan", "--json"});
    QVERIFY(search.waitForFinished(20000));
    servers.kill();
    servers.waitForFinished();
    QCOMPARE(search.exitCode(), 0);

    QStringList found;
    for (const QJsonValue& each : QJsonDocument::fromJson(search.readAllStandardOutput()).array()) {
        const QJsonObject server = each.toObject();
        found << QStringList{server["name"].toString(), server["host"].toString(),
                             server["port"].toString(), server["sockets"].toBool() ? "s" : "d",
                             server["players"].toString()}
                     .join(u'|');
    }
    QCOMPARE(found, QStringList({"Den|198.18.0.2|2302|s|", "Dp|198.18.0.2|2303|d|",
                                 "|198.18.0.2|2340|s|1/10"}));
}

QTEST_GUILESS_MAIN(TestLanDiscovery)
#include "tst_lan_discovery.moc"
