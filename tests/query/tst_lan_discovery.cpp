#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

bool shell(const QString& script) {
    return QProcess::execute("sh", {"-c", script}) == 0;
}

} // namespace

class TestLanDiscovery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsServersByBroadcast();
};

// zam-query --lan in one network namespace finds the responders in another,
// joined by a veth pair, through a real directed broadcast: the game port and
// implementation from hostport, or from the query port without it or when
// hostport lies too far off; the players of the responder's default reply.
void TestLanDiscovery::findsServersByBroadcast() {
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString a = "zam-lan-a" + tag, b = "zam-lan-b" + tag;
    const bool made =
        shell(QString("ip netns add %1 && ip netns add %2 && ip link add zla%3 type veth "
                      "peer name zlb%3 netns %2 && ip link set zla%3 netns %1 && "
                      "ip -n %1 addr add 198.18.0.1/24 dev zla%3 && ip -n %2 addr add "
                      "198.18.0.2/24 dev zlb%3 && ip -n %1 link set zla%3 up && "
                      "ip -n %2 link set zlb%3 up")
                  .arg(a, b, tag));
    const auto removed =
        qScopeGuard([&] { shell(QString("ip netns del %1; ip netns del %2").arg(a, b)); });
    if (!made)
        QSKIP("network namespaces cannot be made here (needs root and ip netns)");
    QProcess servers;
    servers.start("ip", {"netns", "exec", b, ZAM_STATUS_RESPONDER, "--any", "--port", "2303",
                         "--reply", "\\\\hostname\\\\Den\\\\hostport\\\\2302\\\\", "--port", "2305",
                         "--reply", "\\\\hostname\\\\Dp\\\\hostport\\\\2303\\\\", "--port", "2341",
                         "--port", "2360", "--reply", "\\\\hostport\\\\2402\\\\"});
    QByteArray listening;
    while (listening.count('\n') < 4 && servers.waitForReadyRead(10000))
        listening += servers.readAllStandardOutput();
    QProcess search;
    search.start("ip", {"netns", "exec", a, ZAM_QUERY, "--lan", "--json"});
    QVERIFY(search.waitForFinished(20000));
    servers.kill();
    servers.waitForFinished();
    QCOMPARE(search.exitCode(), 0);
    QStringList found;
    for (const QJsonValue& each : QJsonDocument::fromJson(search.readAllStandardOutput()).array()) {
        const QJsonObject s = each.toObject();
        found << s["name"].toString() + '|' + s["host"].toString() + '|' + s["port"].toString() +
                     (s["sockets"].toBool() ? "|s|" : "|d|") + s["players"].toString();
    }
    QCOMPARE(found, QStringList({"Den|198.18.0.2|2302|s|", "Dp|198.18.0.2|2303|d|",
                                 "|198.18.0.2|2340|s|1/10", "|198.18.0.2|2359|s|"}));
}

QTEST_GUILESS_MAIN(TestLanDiscovery)
#include "tst_lan_discovery.moc"
