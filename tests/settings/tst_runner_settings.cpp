#include "state/LauncherState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

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
    QTest::addColumn<QList<StoreValue>>("values"); // in the launcher's key
    QTest::addColumn<RunnerSettings>("loaded");
    QTest::addColumn<QString>("notice"); // its gist; empty: none

    QTest::newRow("missing") << QList<StoreValue>{} << RunnerSettings{} << "";
    QTest::newRow("set") << QList<StoreValue>{{"runner", dword(1)},
                                              {"proton", quoted("/p")},
                                              {"launchcommand", quoted("A=1 %command%")}}
                         << RunnerSettings{1, "", "/p", "A=1 %command%"} << "";
    QTest::newRow("runner as text")
        << QList<StoreValue>{{"runner", quoted("1")}, {"wine", quoted("/opt/wine")}}
        << RunnerSettings{0, "/opt/wine", "", ""} << "\"runner\" is not a number";
    QTest::newRow("launch options as number")
        << QList<StoreValue>{{"runner", dword(1)}, {"launchcommand", dword(5)}}
        << RunnerSettings{1, "", "", ""} << "\"launchcommand\" is not a text";
}

void TestRunnerSettings::load() {
    QFETCH(QList<StoreValue>, values);
    QFETCH(RunnerSettings, loaded);
    QFETCH(QString, notice);

    StoreFixture store;
    store.write(StoreText().launcher(
        store.existingFile(),
        QList<StoreValue>{{"nosplash", dword(1)}, {"window", dword(0)}} + values));
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
