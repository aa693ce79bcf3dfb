#include "launch/GameStart.h"

#include "base/LauncherError.h"
#include "launch/CommandLine.h"
#include "launch/LaunchOptions.h"
#include "launch/ProcessStarter.h"
#include "settings/GamePaths.h"
#include "settings/WinePrefix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

struct GameCommand {
    QString program;
    QStringList arguments;
    QStringList environment; // "NAME=VALUE"
};

QString tr(const char* text) {
    return QCoreApplication::translate("GameStart", text);
}

// The nearest folder above the path with that name, else empty.
QString ancestorNamed(const QString& path, const QString& name) {
    QDir dir = QFileInfo(path).absoluteDir();
    do {
        if (dir.dirName() == name)
            return dir.path();
    } while (dir.cdUp());
    return QString();
}

QString parentOf(const QString& folder) {
    return QFileInfo(folder).path();
}

// Proton keeps a game's prefix in …/steamapps/compatdata/<id>/pfx and is
// told the folder above it and where Steam lives.
void throughProton(GameCommand& game, const QString& protonFolder) {
    const QString pfx = ancestorNamed(game.program, QStringLiteral("pfx"));
    if (pfx.isEmpty())
        throw LauncherError(tr("Proton starts only games inside a Proton prefix (a folder named "
                               "\"pfx\", as in steamapps/compatdata/<id>/pfx), and \"%1\" lies "
                               "in none. Install the game through Steam, or choose Wine in the "
                               "options.")
                                .arg(game.program));
    if (protonFolder.isEmpty())
        throw LauncherError(tr("Proton is chosen to run Windows games, but no Proton folder is "
                               "set in the options."));
    const QString compatData = parentOf(pfx);
    QString steam = QDir::homePath() + QStringLiteral("/.steam/steam");
    if (!QFileInfo(steam).isDir()) {
        const QString steamapps = ancestorNamed(compatData, QStringLiteral("steamapps"));
        steam = parentOf(steamapps.isEmpty() ? compatData : steamapps);
    }
    game.arguments = QStringList{QStringLiteral("run"), game.program} + game.arguments;
    game.program = protonFolder + QStringLiteral("/proton");
    game.environment << QStringLiteral("STEAM_COMPAT_DATA_PATH=") + compatData
                     << QStringLiteral("STEAM_COMPAT_CLIENT_INSTALL_PATH=") + steam;
}

void throughWine(GameCommand& game, const QString& wine) {
    game.environment << QStringLiteral("WINEPREFIX=") + WinePrefix::containing(game.program);
    game.arguments.prepend(game.program);
    game.program = wine.isEmpty() ? QStringLiteral("wine") : wine;
}

bool usesRunner(const QString& program) {
#ifdef Q_OS_WIN
    Q_UNUSED(program);
    return false;
#else
    return isWindowsExecutable(program);
#endif
}

void applyLaunchOptions(GameCommand& game, const LaunchOptions& options) {
    game.environment += options.environment;
    game.arguments += options.appended;
    if (options.wrapper.isEmpty())
        return;
    game.arguments = options.wrapper.mid(1) + QStringList{game.program} + game.arguments;
    game.program = options.wrapper.first();
}

} // namespace

bool isWindowsExecutable(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

void startPreferencesTool(const QString& gameDir, const RunnerSettings& runner) {
    const QString tool = gameDir + QStringLiteral("/QUELLGROVEPREFERENCES.EXE");
    if (!fileExists(tool))
        throw LauncherError(
            tr("ZAM Preferences was not found: there is no \"%1\".").arg(localPath(tool)));
    RunnerSettings toolRunner = runner;
    toolRunner.launchCommand.clear();
    startCommandLine(tool, gameDir, toolRunner);
}

void startCommandLine(const QString& commandLine, const QString& gameDir,
                      const RunnerSettings& runner) {
    const LaunchOptions options = parseLaunchOptions(runner.launchCommand);
    if (!gameDir.isEmpty())
        QDir::setCurrent(localPath(gameDir));

    const ProcessCommand split = splitCommandLine(commandLine, fileExists);
    GameCommand game{localPath(split.program), split.arguments, {}};
    if (usesRunner(game.program)) {
        if (runner.runner == RunnerSettings::Proton)
            throughProton(game, runner.proton);
        else
            throughWine(game, runner.wine);
    }
    applyLaunchOptions(game, options);
    QString error;
    if (!ProcessStarter::instance().start(game.program, game.arguments, QDir::currentPath(),
                                          game.environment, error))
        throw LauncherError(tr("Could not start \"%1\": %2").arg(game.program, error));
}

QString describeGameStart(const QString& executablePath, const RunnerSettings& runner) {
    const QString program = localPath(executablePath);
    QString text = executablePath + u'\n';
    if (!usesRunner(program))
        text += tr("Started directly");
    else if (runner.runner != RunnerSettings::Proton)
        text += tr("Started through Wine: %1")
                    .arg(runner.wine.isEmpty() ? tr("wine from PATH") : runner.wine);
    else if (ancestorNamed(program, QStringLiteral("pfx")).isEmpty())
        text += tr("Proton is chosen, but the game lies in no Proton prefix: it cannot start");
    else
        text += tr("Started through Proton: %1")
                    .arg(runner.proton.isEmpty() ? tr("no folder chosen") : runner.proton);
    if (!runner.launchCommand.isEmpty())
        text += u'\n' + tr("Launch options: %1").arg(runner.launchCommand);
    return text;
}
