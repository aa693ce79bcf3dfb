#include "windows/ReadableColour.h"

#include <QTest>

// The state colours against the windows of common light and dark themes.
class TestReadableColour : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keptOnLightLightenedOnDark_data();
    void keptOnLightLightenedOnDark();
};

void TestReadableColour::keptOnLightLightenedOnDark_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("window");
    QTest::addColumn<bool>("dark");
    for (const auto& [name, colour] : {std::pair{"green", StateGreen}, {"maroon", StateMaroon}}) {
        for (const auto& [theme, window, dark] : {std::tuple{"white", QColor(Qt::white), false},
                                                  {"light grey", QColor(0xef, 0xef, 0xef), false},
                                                  {"mid grey", QColor(0x90, 0x90, 0x90), false},
                                                  {"darker", QColor(0x22, 0x20, 0x20), true},
                                                  {"slate", QColor(0x31, 0x36, 0x3b), true},
                                                  {"dim grey", QColor(0x5a, 0x5a, 0x5a), true},
                                                  {"black", QColor(Qt::black), true}})
            QTest::addRow("%s on %s", name, theme) << colour << window << dark;
    }
}

void TestReadableColour::keptOnLightLightenedOnDark() {
    QFETCH(QColor, colour);
    QFETCH(QColor, window);
    QFETCH(bool, dark);
    const QColor shown = readableOn(colour, window);
    if (!dark) {
        QCOMPARE(shown, colour);
        return;
    }
    QVERIFY2(contrastRatio(shown, window) >= ReadableContrast, qPrintable(shown.name()));
    QCOMPARE(shown.hslHue(), colour.hslHue());
    QVERIFY(shown.lightness() > colour.lightness());
    // The least lightening that reads: a shade darker would not.
    const QColor darker = QColor::fromHsl(shown.hslHue(), shown.hslSaturation(),
                                          std::max(colour.lightness(), shown.lightness() - 5));
    QVERIFY(darker == colour || contrastRatio(darker, window) < ReadableContrast);
}

QTEST_APPLESS_MAIN(TestReadableColour)
#include "tst_readable_colour.moc"
