#include "launch/PlatformChoice.h"

#include <QTest>

class TestPlatformChoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data();
    void choice();
};

void TestPlatformChoice::choice_data() {
    QTest::addColumn<QStringList>("environment"); // NAME=value entries
    QTest::addColumn<QByteArray>("platform");     // empty: Qt's own choice

    QTest::newRow("Wayland session with XWayland")
        << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}
        << QByteArray("xcb");
    QTest::newRow("Wayland display, session type unknown")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QByteArray("xcb");
    QTest::newRow("Wayland session without an X server")
        << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"} << QByteArray();
    QTest::newRow("empty DISPLAY is no X server")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY="} << QByteArray();
    QTest::newRow("user chose a platform")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
        << QByteArray();
    QTest::newRow("empty platform choice counts as none")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM="}
        << QByteArray("xcb");
    QTest::newRow("X11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"}
                                 << QByteArray();
    QTest::newRow("no display at all") << QStringList{} << QByteArray();
}

void TestPlatformChoice::choice() {
    QFETCH(QStringList, environment);
    QFETCH(QByteArray, platform);
    QProcessEnvironment processEnvironment;
    for (const QString& entry : environment)
        processEnvironment.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    QCOMPARE(choosePlatform(processEnvironment), platform);
}

QTEST_GUILESS_MAIN(TestPlatformChoice)
#include "tst_platform_choice.moc"
