#include "settings/IntegerConversion.h"
#include "support/ErrorOf.h"

#include <QTest>

class TestIntegerConversion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversion_data();
    void conversion();
};

void TestIntegerConversion::conversion_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint32>("value");

    QTest::newRow("decimal") << "2302" << true << 2302;
    QTest::newRow("leading zero") << "02302" << true << 2302;
    QTest::newRow("leading blanks") << "   42" << true << 42;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("minus") << "-7" << true << -7;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << qint32(-2147483647 - 1);
    QTest::newRow("dollar hex") << "$10" << true << 16;
    QTest::newRow("x hex") << "xff" << true << 255;
    QTest::newRow("X hex") << "XFF" << true << 255;
    QTest::newRow("0x hex") << "0x7fffffff" << true << 2147483647;
    QTest::newRow("0X hex") << "0X1a" << true << 26;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("hex with blanks first") << "  $A" << true << 10;

    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("only blanks") << "   " << false << 0;
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("tab is not a blank") << "\t12" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("dollar alone") << "$" << false << 0;
    QTest::newRow("0x alone") << "0x" << false << 0;
    QTest::newRow("signed hex") << "-$10" << false << 0;
    QTest::newRow("hex digits in decimal") << "12ab" << false << 0;
    QTest::newRow("above max") << "2147483648" << false << 0;
    QTest::newRow("below min") << "-2147483649" << false << 0;
    QTest::newRow("hex above max") << "$80000000" << false << 0;
    QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    QTest::newRow("double sign") << "+-1" << false << 0;
    QTest::newRow("blank after sign") << "- 1" << false << 0;
    QTest::newRow("non-ascii digit") << QString::fromUtf8("\xd9\xa3") << false << 0;
}

void TestIntegerConversion::conversion() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint32, value);

    if (valid) {
        QCOMPARE(parseInteger(text), value);
        return;
    }
    QCOMPARE(errorOf([&] { parseInteger(text); }),
             QStringLiteral("'%1' is not a valid integer value").arg(text));
}

QTEST_APPLESS_MAIN(TestIntegerConversion)
#include "tst_integer_conversion.moc"
