#include "query/MasterAnswer.h"
#include "query/MasterFetch.h"
#include "query/MasterList.h"
#include "testkit/StandInMaster.h"

#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;

// The master exchange against a stand-in master on 127.0.0.1, and the
// challenge answer against vectors worked out from its description.
class TestMasterList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void challengeAnswer_data();
    void challengeAnswer();
    void fetch_data();
    void fetch();
    void privateAddressesDropped();
};

namespace {

QStringList texts(const std::vector<MasterEntry>& entries) {
    QStringList list;
    for (const MasterEntry& entry : entries)
        list << entry.host() + u':' + QString::number(entry.queryPort);
    return list;
}

MasterEntry entry(const char* host, quint16 port) {
    return {QHostAddress(QLatin1String(host)).toIPv4Address(), port};
}

// A key whose schedule leaves the permutation as it is: with the identity,
// byte i of the key must be 1 - i (0 for i = 0), so that every swap is of a
// place with itself. Answers under it can be worked out on paper.
QByteArray identityKey() {
    QByteArray key(256, '\0');
    for (int i = 1; i < 256; ++i)
        key[i] = char(1 - i);
    return key;
}

} // namespace

void TestMasterList::challengeAnswer_data() {
    QTest::addColumn<QByteArray>("challenge");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("answer");
    // By hand under the identity key. Three zero bytes: x runs 1, 2, 3 and y
    // 1, 3, 5 (swapping 2<->3, then 3<->5), so the bytes are s[2], s[5] and
    // s[7]: 02 05 07, written 000000 100000 010100 000111.
    QTest::newRow("three bytes, by hand") << QByteArray(3, '\0') << identityKey() << "AgUH"_ba;
    // 01: x = 2, y = 2, 1 xor s[4] = 05; one byte takes two letters.
    QTest::newRow("one byte, by hand") << "\x01"_ba << identityKey() << "BQ"_ba;
    // ff: x wraps to 0, so ff xor s[0] = ff; then 00: x = 1, y = 1, 00 xor
    // s[2] = 02; two bytes take three letters, the last of the alphabet first.
    QTest::newRow("two bytes, by hand") << "\xff\x00"_ba << identityKey() << "/wI"_ba;
    // Worked out from the same description by a separate script.
    QTest::newRow("six letters") << "ABCDEF"_ba
                                 << "Xy7kQ2"_ba
                                 << "Dr9kb9i0"_ba;
    QTest::newRow("key shorter than challenge") << "abcdefgh"_ba
                                                << "k"_ba
                                                << "IEE3pahnCXQ"_ba;
    QTest::newRow("no key") << "ABCDEF"_ba << QByteArray() << QByteArray();
}

void TestMasterList::challengeAnswer() {
    QFETCH(QByteArray, challenge);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, answer);
    QCOMPARE(masterChallengeAnswer(challenge, key), answer);
}

void TestMasterList::fetch_data() {
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("closeAfter");
    QTest::addColumn<bool>("compressed");
    QTest::addColumn<QStringList>("masters"); // "$" is the stand-in, "closed" a closed port
    QTest::addColumn<QStringList>("servers");
    QTest::addColumn<QString>("error"); // contained in the last error
    QTest::addColumn<QByteArray>("requested");

    const std::vector<MasterEntry> list{entry("203.0.113.5", 28000), entry("10.1.2.3", 2303),
                                        entry("203.0.113.5", 28000), entry("198.51.100.7", 2403)};
    const QStringList merged{"203.0.113.5:28000", "10.1.2.3:2303", "198.51.100.7:2403"};
    const QByteArray hello = StandInMaster::greetingWith("ABCDEF");
    const QStringList stand{"$"};
    QTest::newRow("compressed list") << hello + "\\final\\" << StandInMaster::listAnswer(list, true)
                                     << true << true << stand << merged << QString()
                                     << "\\validate\\Dr9kb9i0\\final\\\\queryid\\1.1\\"
                                        "\\list\\cmp\\gamename\\zam\\final\\"_ba;
    QTest::newRow("plain list") << hello << StandInMaster::listAnswer(list, false) << true << false
                                << stand << merged << QString() << "\\list\\\\gamename\\zam"_ba;
    QTest::newRow("texts for a compressed request")
        << hello << StandInMaster::listAnswer(list, false) << true << true << stand << merged
        << QString() << QByteArray();
    QTest::newRow("empty list, left open") << hello << "\\final\\"_ba << false << true << stand
                                           << QStringList() << QString() << QByteArray();
    QTest::newRow("refused") << hello << "\\error\\Bad validate\\final\\"_ba << true << true
                             << stand << QStringList() << "refused the list: Bad validate"
                             << QByteArray();
    QTest::newRow("silent") << QByteArray() << QByteArray() << false << true << stand
                            << QStringList() << "sent nothing within 300 ms" << QByteArray();
    QTest::newRow("junk") << QByteArray(5000, 'x') << QByteArray() << false << true << stand
                          << QStringList() << "sent no challenge" << QByteArray();
    QTest::newRow("junk for a plain list")
        << hello << "garbage\\final\\"_ba << false << false << stand << QStringList()
        << "sent something that is not a server list" << QByteArray();
    QTest::newRow("no final") << hello << StandInMaster::listAnswer(list, true).chopped(7) << false
                              << true << stand << QStringList()
                              << "did not complete the list within 300 ms" << QByteArray();
    QTest::newRow("early close") << hello << StandInMaster::listAnswer(list, true).chopped(7)
                                 << true << true << stand << QStringList()
                                 << "closed the connection before the list was complete"
                                 << QByteArray();
    QTest::newRow("greeting without a challenge")
        << "\\basic\\"_ba << QByteArray() << false << true << stand << QStringList()
        << "sent no challenge within 300 ms" << QByteArray();
    QTest::newRow("too much") << hello << QByteArray(MasterListMaxBytes + 10, '\0') << false << true
                              << stand << QStringList() << "sent more than 2097152 bytes"
                              << QByteArray();
    QTest::newRow("not host:port, then closed port, then a list")
        << hello << StandInMaster::listAnswer(list, true) << true << true
        << QStringList{"nonsense", "closed", "$"} << merged << QString() << QByteArray();
}

void TestMasterList::fetch() {
    QFETCH(QByteArray, greeting);
    QFETCH(QByteArray, answer);
    QFETCH(bool, closeAfter);
    QFETCH(bool, compressed);
    QFETCH(QStringList, masters);
    QFETCH(QStringList, servers);
    QFETCH(QString, error);
    QFETCH(QByteArray, requested);

    StandInMaster master;
    master.greeting = greeting;
    master.answer = answer;
    master.closeAfter = closeAfter;
    QTcpServer closedPort;
    closedPort.listen(QHostAddress::LocalHost);
    const QString closed = QStringLiteral("127.0.0.1:%1").arg(closedPort.serverPort());
    closedPort.close();
    masters.replaceInStrings(QStringLiteral("$"), master.address());
    masters.replaceInStrings(QStringLiteral("closed"), closed);

    MasterFetch fetch;
    fetch.fetch({masters, QStringLiteral("zam"), QStringLiteral("Xy7kQ2"), 300, compressed});
    QVERIFY(!fetch.running());
    QCOMPARE(texts(fetch.entries()), servers);
    QCOMPARE(fetch.succeeded(), error.isEmpty());
    if (!error.isEmpty()) {
        QVERIFY2(fetch.errors().last().contains(error), qPrintable(fetch.errors().join(u'\n')));
        QVERIFY(fetch.errors().last().startsWith(QStringLiteral("master ") + master.address()));
    } else {
        QCOMPARE(fetch.master(), master.address());
        QCOMPARE(fetch.errors().size(), masters.size() - 1);
    }
    QVERIFY2(master.request.contains(requested), master.request.constData());
}

// A master on a public address may not point at the user's own network:
// readMasterList keeps the private entries only for a private master.
void TestMasterList::privateAddressesDropped() {
    const std::vector<MasterEntry> list{
        entry("0.1.2.3", 1),     entry("127.0.0.1", 2),      entry("10.0.0.1", 3),
        entry("172.16.0.1", 4),  entry("172.31.255.255", 5), entry("192.168.1.1", 6),
        entry("169.254.1.1", 7), entry("224.0.0.1", 8),      entry("255.255.255.255", 9),
        entry("172.32.0.1", 10), entry("203.0.113.9", 0)};
    const QByteArray answer = StandInMaster::listAnswer(list, true);
    QCOMPARE(texts(readMasterList(answer, true, false)), QStringList{"172.32.0.1:10"});
    QCOMPARE(readMasterList(answer, true, true).size(), size_t(10)); // port 0 is none
}

QTEST_GUILESS_MAIN(TestMasterList)
#include "tst_master_list.moc"
