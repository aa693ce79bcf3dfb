#include "launch/CommandLine.h"
#include "launch/GameStart.h"
#include "launch/LaunchOptions.h"
#include "support/ErrorOf.h"
#include "support/RecordingProcessStarter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void argumentTexts_data();
    void argumentTexts();
    void composition_data();
    void composition();
    void splitting_data();
    void splitting();
    void startsFromGameDirectory();
    void windowsExecutableGoesThroughWine();
    void failedStartNamesTheProgram_data();
    void failedStartNamesTheProgram();
    void launchOptionWords_data();
    void launchOptionWords();
};

void TestCommandLine::argumentTexts_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected");
    QTest::newRow("singleplayer") << singleplayerArgument("Bob") << " \"-name=Bob\" ";
    QTest::newRow("singleplayer, empty name") << singleplayerArgument("") << " \"-name=\" ";
    QTest::newRow("host") << hostArgument("Bob Smith") << "-host \"-name=Bob Smith\"";
    QTest::newRow("join sockets with password")
        << joinArgument("zam.example", "2302", "secret", true, "Bob")
        << " -connect=zam.example -port=2302 -password=secret -sockets  \"-name=Bob\"";
    QTest::newRow("join directplay without password")
        << joinArgument("10.0.0.5", "2302", "", false, "")
        << " -connect=10.0.0.5 -port=2302 -dplay  \"-name=\"";
}

void TestCommandLine::argumentTexts() {
    QFETCH(QString, argument);
    QFETCH(QString, expected);
    QCOMPARE(argument, expected);
}

void TestCommandLine::composition_data() {
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QString>("serverMods");
    QTest::addColumn<qint32>("selector");
    QTest::addColumn<QString>("expected");

    const QString name = singleplayerArgument("Bob");
    QTest::newRow("no mod ticked") << QStringList{"a", "b"} << QList<bool>{false, false} << ""
                                   << TickedMods << "/g/zam.exe -nosplash  \"-name=Bob\" ";
    QTest::newRow("ticked mods in slot order")
        << QStringList{"a", "b", "c"} << QList<bool>{true, false, true} << "" << TickedMods
        << "/g/zam.exe -nosplash -mod=a;c  \"-name=Bob\" ";
    QTest::newRow("empty first dir adds nothing")
        << QStringList{"", "x"} << QList<bool>{true, true} << "" << TickedMods
        << "/g/zam.exe -nosplash -mod=x  \"-name=Bob\" ";
    QTest::newRow("empty dir after a name is an empty item")
        << QStringList{"a", "", "x"} << QList<bool>{true, true, true} << "" << TickedMods
        << "/g/zam.exe -nosplash -mod=a;;x  \"-name=Bob\" ";
    QTest::newRow("empty dir last leaves a blank")
        << QStringList{"a", ""} << QList<bool>{true, true} << "" << TickedMods
        << "/g/zam.exe -nosplash -mod=a   \"-name=Bob\" ";
    QTest::newRow("check list shorter than the table")
        << QStringList{"a", "b"} << QList<bool>{true} << "" << TickedMods
        << "/g/zam.exe -nosplash -mod=a  \"-name=Bob\" ";
    QTest::newRow("server mods, final semicolon becomes a blank")
        << QStringList{"a"} << QList<bool>{true} << "modA;modB;" << 0
        << "/g/zam.exe -nosplash -mod=modA;modB   \"-name=Bob\" ";
    QTest::newRow("server without mods ignores ticks")
        << QStringList{"a"} << QList<bool>{true} << "" << 0
        << "/g/zam.exe -nosplash  \"-name=Bob\" ";
}

void TestCommandLine::composition() {
    QFETCH(QStringList, dirs);
    QFETCH(QList<bool>, ticked);
    QFETCH(QString, serverMods);
    QFETCH(qint32, selector);
    QFETCH(QString, expected);

    LauncherSettings settings;
    settings.ExecutablePath = "/g/zam.exe";
    settings.SkipSplash = true;
    auto mods = std::make_unique<ModTable>();
    for (const QString& dir : dirs)
        mods->Dir[++mods->Last] = dir;
    auto servers = std::make_unique<ServerTable>();
    servers->Mods[0] = serverMods;
    servers->Last = 0;

    QCOMPARE(composeCommandLine(settings, *mods, *servers, ticked, singleplayerArgument("Bob"),
                                selector),
             expected);
}

void TestCommandLine::splitting_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("join line")
        << "/games/zam.exe -window -mod=a;b   -connect=h -port=2302 -sockets  \"-name=Bob\""
        << "/games/zam.exe"
        << QStringList{"-window", "-mod=a;b", "-connect=h", "-port=2302", "-sockets", "-name=Bob"};
    QTest::newRow("path with blanks")
        << "/my games/ZAM dir/zam.exe  \"-name=Bob\" " << "/my games/ZAM dir/zam.exe"
        << QStringList{"-name=Bob"};
    QTest::newRow("exe appended") << "/my games/ZAM dir/zam -nosplash"
                                  << "/my games/ZAM dir/zam.exe" << QStringList{"-nosplash"};
    QTest::newRow("quoted name with blanks")
        << "/games/zam.exe -host \"-name=Sir Bob \"\"the\"\" Bold\"" << "/games/zam.exe"
        << QStringList{"-host", "-name=Sir Bob \"the\" Bold"};
    QTest::newRow("empty player name") << "/games/zam.exe  \"-name=\" " << "/games/zam.exe"
                                       << QStringList{"-name="};
    QTest::newRow("backslashes before a quote")
        << "/games/zam.exe -password=a\\\\\\\"b c\\d" << "/games/zam.exe"
        << QStringList{"-password=a\\\"b", "c\\d"};
    QTest::newRow("no existing prefix") << "/nowhere/zam.exe -window" << "/nowhere/zam.exe"
                                        << QStringList{"-window"};
    QTest::newRow("quoted program") << "\"/my games/x\" -a" << "/my games/x" << QStringList{"-a"};
}

void TestCommandLine::splitting() {
    QFETCH(QString, commandLine);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);

    const QStringList files{"/games/zam.exe", "/my games/ZAM dir/zam.exe"};
    const ProcessCommand command =
        splitCommandLine(commandLine, [&](const QString& path) { return files.contains(path); });
    QCOMPARE(command.program, program);
    QCOMPARE(command.arguments, arguments);
}

void TestCommandLine::startsFromGameDirectory() {
    InstalledProcessStarter starter;
    QTemporaryDir game;
    const QString exe = game.filePath("zam");
    QFile file(exe);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();

    startCommandLine(exe + " -window  \"-name=Bob\" ", game.path());
    QCOMPARE(starter->calls.size(), 1);
    QCOMPARE(starter->calls[0].program, exe);
    QCOMPARE(starter->calls[0].arguments, (QStringList{"-window", "-name=Bob"}));
    QCOMPARE(QDir(starter->calls[0].workingDirectory).canonicalPath(),
             QDir(game.path()).canonicalPath());
}

void TestCommandLine::windowsExecutableGoesThroughWine() {
    InstalledProcessStarter starter;
    QTemporaryDir game;
    QDir(game.path()).mkdir("Game Files");
    const QString exe = game.filePath("Game Files/Zam.exe");
    QFile file(exe);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("MZ\x90\x00", 4);
    file.close();

    // The stored path uses the game's backslashes.
    QString stored = exe;
    stored.replace('/', '\\');
    startCommandLine(stored + " -nosplash", game.path());
    QCOMPARE(starter->calls.size(), 1);
    QCOMPARE(starter->calls[0].program, QString("wine"));
    QCOMPARE(starter->calls[0].arguments, (QStringList{exe, "-nosplash"}));
}

// The game itself, or the wrapper the launch options put before it.
void TestCommandLine::failedStartNamesTheProgram_data() {
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("named");
    QTest::newRow("game") << ""
                          << "/nowhere/zam.exe";
    QTest::newRow("wrapper") << "no-such-wrapper %command%"
                             << "no-such-wrapper";
}

void TestCommandLine::failedStartNamesTheProgram() {
    QFETCH(QString, options);
    QFETCH(QString, named);
    InstalledProcessStarter starter;
    starter->fail = true;
    RunnerSettings runner;
    runner.launchCommand = options;
    const QString error =
        errorOf([&] { startCommandLine("/nowhere/zam.exe -window", QString(), runner); });
    QVERIFY2(error.contains("Could not start \"" + named + '"'), qPrintable(error));
}

// Words as a POSIX shell splits them; null `error` means none expected.
void TestCommandLine::launchOptionWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QStringList>("wrapper");
    QTest::addColumn<QStringList>("appended");
    QTest::addColumn<QString>("error");

    const QStringList none;
    QTest::newRow("empty") << " \t " << none << none << none << QString();
    QTest::newRow("quotes and backslashes")
        << R"(A='x y' B="q \"z\" \$ \n" w\ x %command% 'it''s' "" a\\b c\)"
        << QStringList{"A=x y", R"(B=q "z" $ \n)"} << QStringList{"w x"}
        << QStringList{"its", "", R"(a\b)", R"(c\)"} << QString();
    QTest::newRow("quoted name is no assignment")
        << R"("A=1" B\=2 %command%)" << none << QStringList{"A=1", "B=2"} << none << QString();
    QTest::newRow("a name after a digit is no assignment")
        << "_x9=4 1A=1 %command%" << QStringList{"_x9=4"} << QStringList{"1A=1"} << none
        << QString();
    QTest::newRow("no name, no assignment")
        << "=2 %command%" << none << QStringList{"=2"} << none << QString();
    QTest::newRow("a dash is no name")
        << "A-B=3 %command%" << none << QStringList{"A-B=3"} << none << QString();
    QTest::newRow("assignment after the wrapper is its argument")
        << "A=1 env B=2 %command%" << QStringList{"A=1"} << QStringList{"env", "B=2"} << none
        << QString();
    QTest::newRow("without %command% all is appended")
        << "A=1 -x" << none << none << QStringList{"A=1", "-x"} << QString();
    QTest::newRow("unterminated quote") << "%command% 'open" << none << none << none << "closing";
    QTest::newRow("redirection") << "%command% > log" << none << none << none << "needs a shell";
    QTest::newRow("variable") << "$HOME/x %command%" << none << none << none << "needs a shell";
    QTest::newRow("two commands") << "%command% %command%" << none << none << none
                                  << "more than once";
}

void TestCommandLine::launchOptionWords() {
    QFETCH(QString, text);
    QFETCH(QStringList, environment);
    QFETCH(QStringList, wrapper);
    QFETCH(QStringList, appended);
    QFETCH(QString, error);

    try {
        const LaunchOptions options = parseLaunchOptions(text);
        QVERIFY2(error.isNull(), "an error was expected");
        QCOMPARE(options.environment, environment);
        QCOMPARE(options.wrapper, wrapper);
        QCOMPARE(options.appended, appended);
    } catch (const LauncherError& e) {
        QVERIFY2(!error.isNull() && e.message().contains(error), qPrintable(e.message()));
    }
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
