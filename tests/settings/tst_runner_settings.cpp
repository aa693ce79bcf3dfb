#include "state/LauncherState.h"
#include "support/StoreFixture.h"

#include <QTest>

// The runner and launch options as the store holds them: missing values
// are the system's wine without options, a value of the wrong kind is told
// and left alone, and what the user sets comes back after a load.
class TestRunnerSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadAndSave_data();
    void loadAndSave();
};

void TestRunnerSettings::loadAndSave_data() {
    QTest::addColumn<QByteArray>("values"); // in the launcher's key
    QTest::addColumn<int>("runner");
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QString>("launchCommand");
    QTest::addColumn<QString>("notice"); // its gist; empty: none

    QTest::newRow("missing") << QByteArray() << 0 << ""
                             << ""
                             << "";
    QTest::newRow("set") << QByteArray("\"runner\"=dword:00000001\n\"wine\"=\"/opt/wine\"\n"
                                       "\"launchcommand\"=\"A=1 %command%\"\n")
                         << 1 << "/opt/wine"
                         << "A=1 %command%"
                         << "";
    QTest::newRow("runner as text")
        << QByteArray("\"runner\"=\"1\"\n\"wine\"=\"/opt/wine\"\n") << 0 << "/opt/wine"
        << ""
        << "\"runner\" is not a number";
    QTest::newRow("launch options as number")
        << QByteArray("\"runner\"=dword:00000001\n\"launchcommand\"=dword:00000005\n") << 1 << ""
        << ""
        << "\"launchcommand\" is not a text";
}

void TestRunnerSettings::loadAndSave() {
    QFETCH(QByteArray, values);
    QFETCH(int, runner);
    QFETCH(QString, wine);
    QFETCH(QString, launchCommand);
    QFETCH(QString, notice);

    StoreFixture store;
    store.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"executable\"=\"" +
                store.existingFile().toUtf8() +
                "\"\n\"nosplash\"=dword:00000001\n\"window\"=dword:00000000\n" + values + '\n');
    LauncherState& state = LauncherState::instance();
    state.clear();
    const LoadOutcome outcome = state.load();
    const RunnerSettings& loaded = state.settings.Runner;
    QCOMPARE(loaded.runner, runner);
    QCOMPARE(loaded.wine, wine);
    QCOMPARE(loaded.proton, QString());
    QCOMPARE(loaded.launchCommand, launchCommand);
    QCOMPARE(outcome.notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY2(outcome.notices[0].contains(notice), qPrintable(outcome.notices[0]));

    const RunnerSettings chosen{RunnerSettings::Proton, "", "/steam/Proton 9.0", "%command% -x"};
    state.settings.Runner = chosen;
    state.save();
    state.clear();
    QCOMPARE(state.load().notices, QStringList());
    QCOMPARE(state.settings.Runner, chosen);
}

QTEST_GUILESS_MAIN(TestRunnerSettings)
#include "tst_runner_settings.moc"
