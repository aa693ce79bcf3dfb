#include "base/VisibleText.h"

#include <QTest>

class TestVisibleText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsBecomeEscapes_data();
    void controlsBecomeEscapes();
};

void TestVisibleText::controlsBecomeEscapes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("visible");

    QTest::newRow("plain text and Latin-1 letters") << QString::fromLatin1("Coop 12 \xe4\xa0\xff")
                                                    << QString::fromLatin1("Coop 12 \xe4\xa0\xff");
    QTest::newRow("line ends and tab") << "a\tb\r\nc"
                                       << "a\\tb\\r\\nc";
    QTest::newRow("escape sequences") << "\x1b]0;title\x07\x1b[2J"
                                      << "\\x1b]0;title\\x07\\x1b[2J";
    QTest::newRow("NUL and the last C0") << QString(QChar(0)) + "\x1f"
                                         << "\\x00\\x1f";
    QTest::newRow("DEL and C1") << QString::fromLatin1("\x7f\x80\x9b\x9f")
                                << "\\x7f\\x80\\x9b\\x9f";
}

void TestVisibleText::controlsBecomeEscapes() {
    QFETCH(QString, text);
    QFETCH(QString, visible);
    QCOMPARE(withVisibleControls(text), visible);
}

QTEST_GUILESS_MAIN(TestVisibleText)
#include "tst_visible_text.moc"
