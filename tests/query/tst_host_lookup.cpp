#include "query/HostLookup.h"

#include <QTest>

class TestHostLookup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dottedAddress_data();
    void dottedAddress();
    void lookup_data();
    void lookup();
};

void TestHostLookup::dottedAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("dotted");

    QTest::newRow("four parts") << "192.168.1.10" << true << "192.168.1.10";
    QTest::newRow("three parts") << "10.1.300" << true << "10.1.1.44";
    QTest::newRow("two parts") << "10.5" << true << "10.0.0.5";
    QTest::newRow("one part") << "167772165" << true << "10.0.0.5";
    QTest::newRow("hex and octal") << "0xC0.0250.0X1.012" << true << "192.168.1.10";
    QTest::newRow("zero") << "0.0.0.0" << true << "0.0.0.0";
    QTest::newRow("highest but one") << "255.255.255.254" << true << "255.255.255.254";

    QTest::newRow("all ones is the failure value") << "255.255.255.255" << false << "";
    QTest::newRow("all ones as one part") << "4294967295" << false << "";
    QTest::newRow("empty") << "" << false << "";
    QTest::newRow("name") << "localhost" << false << "";
    QTest::newRow("five parts") << "1.2.3.4.5" << false << "";
    QTest::newRow("byte too large") << "256.1.1.1" << false << "";
    QTest::newRow("last part too large") << "10.16777216" << false << "";
    QTest::newRow("one part too large") << "4294967296" << false << "";
    QTest::newRow("empty part") << "1..2" << false << "";
    QTest::newRow("trailing dot") << "1.2.3." << false << "";
    QTest::newRow("bad octal digit") << "08.1.1.1" << false << "";
    QTest::newRow("hex prefix alone") << "0x.1" << false << "";
    QTest::newRow("blank") << " 1.2.3.4" << false << "";
    QTest::newRow("sign") << "+1.2.3.4" << false << "";
    QTest::newRow("non-ascii digit") << QString::fromUtf8("1.2.3.\xd9\xa3") << false << "";
    QTest::newRow("huge digit run") << "1." + QString(30, u'9') << false << "";
}

void TestHostLookup::dottedAddress() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, dotted);

    const std::optional<quint32> address = parseDottedAddress(text);
    QCOMPARE(address.has_value(), valid);
    if (valid)
        QCOMPARE(dottedText(*address), dotted);
}

void TestHostLookup::lookup_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dotted");

    QTest::newRow("dotted text") << "10.0.0.5"
                                 << "10.0.0.5";
    QTest::newRow("short dotted text") << "10.5"
                                       << "10.0.0.5";
    QTest::newRow("name") << "localhost"
                          << "127.0.0.1";
    QTest::newRow("unresolvable") << "zam-nowhere.invalid"
                                  << "0.0.0.0";
    QTest::newRow("empty") << ""
                           << "0.0.0.0";
}

void TestHostLookup::lookup() {
    QFETCH(QString, name);
    QFETCH(QString, dotted);
    QCOMPARE(dottedText(LookupHostAddress(name)), dotted);
}

QTEST_GUILESS_MAIN(TestHostLookup)
#include "tst_host_lookup.moc"
