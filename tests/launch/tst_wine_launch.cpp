#include "base/LauncherError.h"
#include "launch/CommandLine.h"
#include "launch/GameStart.h"
#include "settings/Registry.h"
#include "support/RecordingProcessStarter.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/StoreText.h"
#include "support/WinePrefixFixture.h"

#include <QTest>

namespace {

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// A stand-in for `wine` that writes its working directory, WINEPREFIX and
// arguments, one a line, to `record` (complete once it appears).
void writeStandInWine(const QString& folder, const QString& record) {
    QDir().mkpath(folder);
    QFile script(folder + "/wine");
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n{ pwd -P; printf '%s\\n' \"$WINEPREFIX\"; for a in \"$@\"; do "
                 "printf '%s\\n' \"$a\"; done; } > '" +
                 QFile::encodeName(record) + ".part'\nmv '" + QFile::encodeName(record) +
                 ".part' '" + QFile::encodeName(record) + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TestWineLaunch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Runs first: later functions install the recording starter for good.
    void gameRunsInItsPrefix();
    void preferencesToolThroughWine();
    void prefixOfTheProgram_data();
    void prefixOfTheProgram();
};

// An installation known only to the prefix: the store holds the executable
// as a Windows path, the game's keys are in system.reg and user.reg, and
// the real process start runs a stand-in `wine` found on PATH.
void TestWineLaunch::gameRunsInItsPrefix() {
    WinePrefixFixture wine;
    const QString exe = wine.windowsProgram("drive_c/Program Files/ZAM/QuellgroveResistance.exe");
    wine.writeRegistry("system.reg", R"([Software\\Harrowmede\\Operation Quellgrove] 1700000000
"MAIN"="C:\\Program Files\\ZAM"
)");
    wine.writeRegistry("user.reg", R"([Software\\Harrowmede\\Operation Quellgrove] 1700000000
"Player Name"="Ren\x00e9e"
)");
    const QString bin = wine.dir.filePath("bin");
    const QString record = wine.dir.filePath("wine-call.txt");
    writeStandInWine(bin, record);
    ScopedEnvironment path("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
    const QString startDir = QDir::currentPath();

    StoreFixture store;
    store.write(StoreText().launcher("C:\\Program Files\\ZAM\\QuellgroveResistance.exe"));
    StoreTables t;
    const LoadOutcome outcome = t.load();
    QCOMPARE(t.prompts, QStringList{});
    QCOMPARE(outcome.playerName, QString::fromUtf8("Renée"));

    startCommandLine(composeCommandLine(t.settings, *t.mods, *t.servers, {},
                                        singleplayerArgument(outcome.playerName), TickedMods),
                     t.settings.GameDir);
    QDir::setCurrent(startDir);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, (QStringList{canonical(wine.prefix + "/drive_c/Program Files/ZAM"), wine.prefix,
                                 exe, "-nosplash", QString::fromUtf8("-name=Renée")}));
}

void TestWineLaunch::preferencesToolThroughWine() {
    InstalledProcessStarter starter;
    WinePrefixFixture wine;
    const QString tool = wine.windowsProgram("drive_c/Games/ZAM/QuellgrovePreferences.exe");
    const QString startDir = QDir::currentPath();

    const QString gameDir = "C:\\Games\\ZAM";
    try {
        startPreferencesTool("C:\\Games\\Elsewhere");
        QFAIL("a missing tool must be reported");
    } catch (const LauncherError& error) {
        QCOMPARE(error.message(), "ZAM Preferences was not found: there is no \"" + wine.prefix +
                                      "/drive_c/Games/Elsewhere/QUELLGROVEPREFERENCES.EXE\".");
    }
    startPreferencesTool(gameDir);
    QDir::setCurrent(startDir);

    QCOMPARE(starter->calls.size(), 1);
    QCOMPARE(starter->calls[0].program, QString("wine"));
    QCOMPARE(starter->calls[0].arguments, QStringList{tool});
    QCOMPARE(starter->calls[0].environment, QStringList{"WINEPREFIX=" + wine.prefix});
    QCOMPARE(canonical(starter->calls[0].workingDirectory),
             canonical(wine.prefix + "/drive_c/Games/ZAM"));
}

void TestWineLaunch::prefixOfTheProgram_data() {
    QTest::addColumn<QString>("program"); // relative to the temporary folder
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("winePrefix"); // relative; empty: started directly

    const QByteArray windows("MZ\x90\x00", 4);
    QTest::newRow("in $WINEPREFIX") << "prefix/drive_c/zam.exe" << windows << "prefix";
    QTest::newRow("in another prefix") << "other/drive_c/Games/zam.exe" << windows << "other";
    QTest::newRow("outside any prefix") << "games/zam.exe" << windows << "prefix";
    QTest::newRow("program of this system")
        << "prefix/drive_c/zam" << QByteArray("#!/bin/sh\n") << QString();
}

void TestWineLaunch::prefixOfTheProgram() {
    QFETCH(QString, program);
    QFETCH(QByteArray, content);
    QFETCH(QString, winePrefix);

    InstalledProcessStarter starter;
    WinePrefixFixture wine;
    wine.writeRegistry("system.reg", "");
    QDir().mkpath(wine.dir.filePath("other/drive_c"));
    QFile(wine.dir.filePath("other/system.reg")).open(QIODevice::WriteOnly);
    const QString path = wine.dir.filePath(program);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    startCommandLine(path + " -window", QString());
    QCOMPARE(starter->calls.size(), 1);
    const QStringList expected = winePrefix.isEmpty()
                                     ? QStringList{}
                                     : QStringList{"WINEPREFIX=" + wine.dir.filePath(winePrefix)};
    QCOMPARE(starter->calls[0].environment, expected);
}

QTEST_GUILESS_MAIN(TestWineLaunch)
#include "tst_wine_launch.moc"
