#include "launch/CommandLine.h"
#include "launch/GameStart.h"
#include "settings/GamePaths.h"
#include "settings/Registry.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/StoreText.h"
#include "support/WinePrefixFixture.h"

#include <QProcess>
#include <QTest>

// The game started through the real `wine`: a Windows program that records
// how it was started stands in for the game in a fresh prefix whose registry
// holds the game's keys (written by Wine's own `reg`). Built only with
// ZAM_REAL_WINE (the Wine stage of ./test --full).
namespace {

const QString kGameDir = QStringLiteral("C:\\Program Files\\ZAM");
const QString kGameExe = kGameDir + QStringLiteral("\\QuellgroveResistance.exe");

// Runs a Wine tool in the prefix and waits for it; true when it exited with 0.
bool runWineTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool addGameKey(const QString& root, const QString& name, const QString& value) {
    return runWineTool("wine", {"reg", "add", root + "\\Software\\Harrowmede\\Operation Quellgrove",
                                "/v", name, "/d", value, "/f"});
}

// The command line Wine builds from the arguments it is given: each one
// quoted when it holds a blank or is empty, joined by single blanks.
QString rebuiltByWine(const QStringList& arguments) {
    QStringList quoted;
    for (const QString& argument : arguments)
        quoted << (argument.isEmpty() || argument.contains(u' ') ? u'"' + argument + u'"'
                                                                 : argument);
    return quoted.join(u' ');
}

} // namespace

class TestRealWine : public QObject {
    Q_OBJECT
public:
    // Ends the prefix's server, and so every program in it, even when a
    // test failed; the prefix's folder goes after.
    ~TestRealWine() override { runWineTool("wineserver", {"-k"}); }

private Q_SLOTS:
    void initTestCase();
    void launches_data();
    void launches();

private:
    ScopedEnvironment quiet{"WINEDEBUG", "-all"};
    // No dialogs offering to install the .NET and HTML engines.
    ScopedEnvironment noEngines{"WINEDLLOVERRIDES", "mscoree,mshtml="};
    WinePrefixFixture wine;
    QString gameExe; // the program in the prefix, as a path of this system
};

void TestRealWine::initTestCase() {
    QVERIFY(addGameKey("HKLM", "MAIN", kGameDir));
    QVERIFY(addGameKey("HKCU", "Player Name", "Big Ren"));
    // The registry reaches system.reg and user.reg when the server ends.
    QVERIFY(runWineTool("wineserver", {"-w"}));
    gameExe = wine.prefix + "/drive_c/Program Files/ZAM/QuellgroveResistance.exe";
    QDir().mkpath(QFileInfo(gameExe).absolutePath());
    QVERIFY(QFile::copy(ZAM_RECORDER_PATH, gameExe));
}

void TestRealWine::launches_data() {
    QTest::addColumn<bool>("windowsPath"); // the executable as stored: C:\ or this system's path
    QTest::addColumn<QString>("kind");

    for (const bool windowsPath : {false, true})
        for (const char* kind : {"singleplayer", "host", "join"})
            QTest::addRow("%s, %s", kind, windowsPath ? "C:\\ path" : "Linux path")
                << windowsPath << QString(kind);
}

void TestRealWine::launches() {
    QFETCH(bool, windowsPath);
    QFETCH(QString, kind);

    StoreFixture store;
    store.write(StoreText()
                    .launcher(windowsPath ? kGameExe : gameExe,
                              {{"nosplash", dword(1)}, {"window", dword(1)}})
                    .mod(1, "Winter", "winter", true)
                    .mod(2, "Desert", "desert", true)
                    .server(1, {"Local", "127.0.0.1", "2302", "se cret", true, "winter;desert;"}));
    StoreTables t;
    const LoadOutcome outcome = t.load();
    QCOMPARE(t.settings.GameDir, kGameDir);
    const QString name = outcome.playerName;
    QCOMPARE(name, QString("Big Ren"));

    const QString argumentText =
        kind == "singleplayer" ? singleplayerArgument(name)
        : kind == "host"       ? hostArgument(name)
                         : joinArgument(t.servers->Host[0], t.servers->Port[0], t.servers->Pass[0],
                                        t.servers->Sockets[0], name);
    const QString commandLine = composeCommandLine(t.settings, *t.mods, *t.servers, {true, true},
                                                   argumentText, kind == "join" ? 0 : TickedMods);
    const QString record = QFileInfo(gameExe).absolutePath() + "/command-line.txt";
    QFile::remove(record);
    const QString startDir = QDir::currentPath();
    startCommandLine(commandLine, t.settings.GameDir);
    QDir::setCurrent(startDir);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 60000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    lines.removeLast(); // after the last line's end
    QVERIFY(lines.size() >= 3);
    const QString raw = lines.takeFirst();
    const QString workingDirectory = lines.takeFirst();
    qInfo().noquote() << "composed:   " << commandLine << "\nraw:        " << raw
                      << "\nargv:       " << lines.join(" | ")
                      << "\ndirectory:  " << workingDirectory;

    QCOMPARE(workingDirectory, kGameDir);
    QCOMPARE(lines.takeFirst(), kGameExe);
    QCOMPARE(lines, splitCommandLine(commandLine, fileExists).arguments);
    QCOMPARE(raw, rebuiltByWine(QStringList{kGameExe} + lines));
}

QTEST_GUILESS_MAIN(TestRealWine)
#include "tst_real_wine.moc"
