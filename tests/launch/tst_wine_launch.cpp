#include "base/LauncherError.h"
#include "launch/CommandLine.h"
#include "launch/GameStart.h"
#include "settings/Registry.h"
#include "support/RecordingProcessStarter.h"
#include "support/SteamFixture.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/StoreText.h"
#include "support/WinePrefixFixture.h"

#include <QTest>

namespace {

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// A stand-in program at `path` that writes its working directory, the given
// environment variables and its arguments, one a line, to `record`
// (complete once it appears).
void writeRecordingScript(const QString& path, const QString& record,
                          const QByteArrayList& variables) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    const QByteArray target = QFile::encodeName(record);
    QByteArray printed;
    for (const QByteArray& name : variables)
        printed += " printf '%s\\n' \"$" + name + "\";";
    script.write("#!/bin/sh\n{ pwd -P;" + printed +
                 " for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > '" + target +
                 ".part'\nmv '" + target + ".part' '" + target + "'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
}

// The lines of a record, once it appears.
QStringList recordedLines(const QString& record) {
    if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 30000))
        return {};
    QFile file(record);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestWineLaunch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Runs first: later functions install the recording starter for good.
    void gameRunsInItsPrefix();
    void protonRunsTheGameInItsPrefix();
    void preferencesToolThroughWine();
    void runnersAndLaunchOptions_data();
    void runnersAndLaunchOptions();
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
    writeRecordingScript(bin + "/wine", record, {"WINEPREFIX"});
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

    QCOMPARE(recordedLines(record),
             (QStringList{canonical(wine.prefix + "/drive_c/Program Files/ZAM"), wine.prefix, exe,
                          "-nosplash", QString::fromUtf8("-name=Renée")}));
}

// Proton, stood in for by a script that records how it was started, with
// the game in its prefix under steamapps/compatdata and no ~/.steam/steam:
// the Steam folder is the one above steamapps.
void TestWineLaunch::protonRunsTheGameInItsPrefix() {
    SteamFixture steam;
    const QString record = steam.home.filePath("proton-call.txt");
    const QString proton = steam.addProton("Proton 9.0");
    writeRecordingScript(
        proton + "/proton", record,
        {"STEAM_COMPAT_DATA_PATH", "STEAM_COMPAT_CLIENT_INSTALL_PATH", "ZAM_TEST"});
    const QString gameDir = steam.pfx + "/drive_c/Games/ZAM";
    const QString exe = gameDir + "/zam.exe";
    QDir().mkpath(gameDir);
    QFile file(exe);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("MZ\x90\x00", 4);
    file.close();
    const QString startDir = QDir::currentPath();

    RunnerSettings runner;
    runner.runner = RunnerSettings::Proton;
    runner.proton = proton;
    runner.launchCommand = "ZAM_TEST=1 %command% -extra";
    startCommandLine(exe + " -window", gameDir, runner);
    QDir::setCurrent(startDir);

    QCOMPARE(recordedLines(record), (QStringList{canonical(gameDir), steam.compatData, steam.steam,
                                                 "1", "run", exe, "-window", "-extra"}));
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

// The game in a Proton prefix (also $WINEPREFIX, where C:\ leads), stored
// as a C:\ path or a path of this system, a Windows or a native executable,
// started through each runner with launch options. Placeholders: {game} the
// game's folder, {pfx}, {compat} the folder holding pfx, {steam}
// ~/.steam/steam, {proton} the Proton folder, {home}.
void TestWineLaunch::runnersAndLaunchOptions_data() {
    QTest::addColumn<QString>("executable"); // as stored; "*.exe" begins with MZ
    QTest::addColumn<int>("runner");
    QTest::addColumn<QString>("runnerPath"); // the Wine program or the Proton folder
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("program"); // empty: no start, `arguments` holds the error's gist
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");

    const QString windowsExe = "C:\\Games\\ZAM\\zam.exe";
    const QString linuxExe = "{game}/zam.exe";
    const QStringList game{"{game}/zam.exe", "-nosplash", "-name=Big Ren"};
    const QStringList native{"-nosplash", "-name=Big Ren"};
    const QStringList wine{"WINEPREFIX={pfx}"};
    const QStringList proton{"STEAM_COMPAT_DATA_PATH={compat}",
                             "STEAM_COMPAT_CLIENT_INSTALL_PATH={steam}"};
    const QStringList protonRun = QStringList{"run"} + game;
    const int W = RunnerSettings::Wine;
    const int P = RunnerSettings::Proton;

    QTest::newRow("Wine from PATH, C:\\") << windowsExe << W << ""
                                          << ""
                                          << "wine" << game << wine;
    QTest::newRow("unknown runner is Wine") << windowsExe << 7 << ""
                                            << ""
                                            << "wine" << game << wine;
    QTest::newRow("chosen Wine, Linux path") << linuxExe << W << "/opt/wine-9/bin/wine"
                                             << "%command%"
                                             << "/opt/wine-9/bin/wine" << game << wine;
    QTest::newRow("no %command%: all appended")
        << windowsExe << W << ""
        << "-skipintro 'a b' A=1"
        << "wine" << game + QStringList{"-skipintro", "a b", "A=1"} << wine;
    QTest::newRow("environment, wrapper, -extra")
        << linuxExe << W << ""
        << "ZAM_TEST=1 env %command% -extra"
        << "env" << QStringList{"wine"} + game + QStringList{"-extra"}
        << wine + QStringList{"ZAM_TEST=1"};
    QTest::newRow("Proton, C:\\") << windowsExe << P << "{proton}"
                                  << ""
                                  << "{proton}/proton" << protonRun << proton;
    QTest::newRow("Proton, Steam's example")
        << linuxExe << P << "{proton}"
        << "DXVK_HUD=1 gamemoderun %command% -extra"
        << "gamemoderun" << QStringList{"{proton}/proton"} + protonRun + QStringList{"-extra"}
        << proton + QStringList{"DXVK_HUD=1"};
    QTest::newRow("native ignores Proton, keeps options")
        << "C:\\Games\\ZAM\\zam" << P << "{proton}"
        << "FOO=\"x y\" taskset -c 0 %command%"
        << "taskset" << QStringList{"-c", "0", "{game}/zam"} + native << QStringList{"FOO=x y"};
    QTest::newRow("native, Linux path") << "{game}/zam" << W << "/opt/wine"
                                        << ""
                                        << "{game}/zam" << native << QStringList{};
    QTest::newRow("Proton outside a prefix") << "{home}/games/zam.exe" << P << "{proton}"
                                             << ""
                                             << "" << QStringList{"lies in none"} << QStringList{};
    QTest::newRow("Proton without a folder")
        << windowsExe << P << ""
        << ""
        << "" << QStringList{"no Proton folder"} << QStringList{};
    QTest::newRow("options only a shell could run")
        << windowsExe << W << ""
        << "gamemoderun %command% | tee log"
        << "" << QStringList{"needs a shell"} << QStringList{};
}

void TestWineLaunch::runnersAndLaunchOptions() {
    QFETCH(QString, executable);
    QFETCH(int, runner);
    QFETCH(QString, runnerPath);
    QFETCH(QString, options);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);

    SteamFixture steam;
    ScopedEnvironment prefix("WINEPREFIX", QFile::encodeName(steam.pfx));
    QFile(steam.pfx + "/system.reg").open(QIODevice::WriteOnly);
    const QString folder = steam.addProton("Proton 9.0");
    const QString steamLink = steam.linkSteam();
    const QString gameDir = steam.pfx + "/drive_c/Games/ZAM";
    const QList<std::pair<QString, QString>> placeholders{
        {"{game}", gameDir},    {"{pfx}", steam.pfx}, {"{compat}", steam.compatData},
        {"{steam}", steamLink}, {"{proton}", folder}, {"{home}", steam.home.path()}};
    const auto expand = [&](QString text) {
        for (const auto& [placeholder, value] : placeholders)
            text.replace(placeholder, value);
        return text;
    };
    const auto expandAll = [&](QStringList texts) {
        for (QString& text : texts)
            text = expand(text);
        return texts;
    };
    for (const QString& file :
         {gameDir + "/zam.exe", gameDir + "/zam", steam.home.filePath("games/zam.exe")}) {
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(file.endsWith(".exe") ? QByteArray("MZ\x90\x00", 4) : QByteArray("#!/bin/sh\n"));
    }

    InstalledProcessStarter starter;
    RunnerSettings settings;
    settings.runner = runner;
    (runner == RunnerSettings::Proton ? settings.proton : settings.wine) = expand(runnerPath);
    settings.launchCommand = options;
    // The game directory is stored the way the executable is.
    const QString stored = expand(executable);
    const QString storedDir = stored.left(stored.lastIndexOf(stored.startsWith("C:") ? '\\' : '/'));
    const QString startDir = QDir::currentPath();
    try {
        startCommandLine(stored + " -nosplash  \"-name=Big Ren\" ", storedDir, settings);
        QDir::setCurrent(startDir);
        QVERIFY2(!program.isEmpty(), "the start must fail");
    } catch (const LauncherError& e) {
        QDir::setCurrent(startDir);
        QVERIFY2(program.isEmpty() && e.message().contains(arguments.first()),
                 qPrintable(e.message()));
        QCOMPARE(starter->calls.size(), 0);
        return;
    }

    QCOMPARE(starter->calls.size(), 1);
    const RecordingProcessStarter::Call& call = starter->calls[0];
    QCOMPARE(call.program, expand(program));
    QCOMPARE(call.arguments, expandAll(arguments));
    QCOMPARE(canonical(call.workingDirectory), canonical(gameDir));
    QCOMPARE(call.environment, expandAll(environment));
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
