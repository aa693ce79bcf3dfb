#include "launch/LocalAddress.h"

#include <QTest>

// "Your IP": the first IPv4 address of an interface that is up and not
// loopback, in the system's order; loopback only when there is none.
class TestLocalAddress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { installInterfaceSource({}); }
    void choice_data();
    void choice();
};

namespace {

// "eth0 up 10.0.0.2 10.0.0.3; lo up loopback 127.0.0.1": one interface per
// part, its name first, then "up" or "down", "loopback", and its addresses.
QList<NetworkInterfaceEntry> interfacesOf(const QString& spec) {
    QList<NetworkInterfaceEntry> interfaces;
    for (const QString& part : spec.split(u';', Qt::SkipEmptyParts)) {
        QStringList words = part.split(u' ', Qt::SkipEmptyParts);
        NetworkInterfaceEntry entry;
        entry.name = words.takeFirst();
        entry.up = words.removeAll("up") > 0;
        words.removeAll("down");
        entry.loopback = words.removeAll("loopback") > 0;
        entry.ipv4 = words;
        interfaces << entry;
    }
    return interfaces;
}

} // namespace

void TestLocalAddress::choice_data() {
    QTest::addColumn<QString>("interfaces");
    QTest::addColumn<QString>("shown");

    QTest::newRow("loopback listed first") << "lo up loopback 127.0.0.1; eth0 up 192.168.1.5"
                                           << "192.168.1.5";
    QTest::newRow("the first in system order") << "eth0 up 10.0.0.2; wlan0 up 192.168.1.5"
                                               << "10.0.0.2";
    QTest::newRow("the first address of an interface") << "eth0 up 10.0.0.2 10.0.0.3"
                                                       << "10.0.0.2";
    QTest::newRow("down interfaces are skipped") << "eth0 down 10.0.0.2; wlan0 up 192.168.1.5"
                                                 << "192.168.1.5";
    QTest::newRow("interfaces without IPv4 are skipped") << "eth0 up; docker0 up 172.17.0.1"
                                                         << "172.17.0.1";
    QTest::newRow("only loopback") << "lo up loopback 127.0.0.1; eth0 down 10.0.0.2"
                                   << "127.0.0.1";
    QTest::newRow("nothing up keeps the previous text") << "lo down loopback 127.0.0.1"
                                                        << "previous";
    QTest::newRow("no interfaces at all") << ""
                                          << "previous";
}

void TestLocalAddress::choice() {
    QFETCH(QString, interfaces);
    QFETCH(QString, shown);
    installInterfaceSource([&] { return interfacesOf(interfaces); });
    QCOMPARE(LocalAddressText("previous"), shown);
}

QTEST_GUILESS_MAIN(TestLocalAddress)
#include "tst_local_address.moc"
