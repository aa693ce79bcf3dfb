#include "state/LauncherState.h"
#include "support/StoreFixture.h"

#include <QTest>

// The runner's values as a load reads them: a missing value is the default
// and a value of the wrong kind is told (tst_load_then_save shows that a
// save leaves it as it is).
class TestRunnerSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void load_data();
    void load();
};

void TestRunnerSettings::load_data() {
    QTest::addColumn<QByteArray>("values"); // in the launcher's key
    QTest::addColumn<RunnerSettings>("loaded");
    QTest::addColumn<QString>("notice"); // its gist; empty: none

    QTest::newRow("missing") << QByteArray() << RunnerSettings{} << "";
    QTest::newRow("set") << QByteArray("\"runner\"=dword:00000001\n\"proton\"=\"/p\"\n"
                                       "\"launchcommand\"=\"A=1 %command%\"\n")
                         << RunnerSettings{1, "", "/p", "A=1 %command%"} << "";
    QTest::newRow("runner as text")
        << QByteArray("\"runner\"=\"1\"\n\"wine\"=\"/opt/wine\"\n")
        << RunnerSettings{0, "/opt/wine", "", ""} << "\"runner\" is not a number";
    QTest::newRow("launch options as number")
        << QByteArray("\"runner\"=dword:00000001\n\"launchcommand\"=dword:00000005\n")
        << RunnerSettings{1, "", "", ""} << "\"launchcommand\" is not a text";
}

void TestRunnerSettings::load() {
    QFETCH(QByteArray, values);
    QFETCH(RunnerSettings, loaded);
    QFETCH(QString, notice);

    StoreFixture store;
    store.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"executable\"=\"" +
                store.existingFile().toUtf8() +
                "\"\n\"nosplash\"=dword:00000001\n\"window\"=dword:00000000\n" + values + '\n');
    LauncherState& state = LauncherState::instance();
    state.clear();
    const QStringList notices = state.load().notices;
    QVERIFY(state.settings.Runner == loaded);
    QCOMPARE(notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY2(notices[0].contains(notice), qPrintable(notices[0]));
}

QTEST_GUILESS_MAIN(TestRunnerSettings)
#include "tst_runner_settings.moc"
