#include "launch/GameStart.h"

#include "base/LauncherError.h"
#include "launch/CommandLine.h"
#include "launch/ProcessStarter.h"
#include "settings/GamePaths.h"
#include "settings/WinePrefix.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

bool isWindowsExecutable(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

} // namespace

void startPreferencesTool(const QString& gameDir) {
    const QString tool = gameDir + QStringLiteral("/QUELLGROVEPREFERENCES.EXE");
    if (!fileExists(tool))
        throw LauncherError(QStringLiteral("ZAM Preferences was not found: there is no \"%1\".")
                                .arg(localPath(tool)));
    startCommandLine(tool, gameDir);
}

void startCommandLine(const QString& commandLine, const QString& gameDir) {
    if (!gameDir.isEmpty())
        QDir::setCurrent(localPath(gameDir));

    ProcessCommand command = splitCommandLine(commandLine, fileExists);
    command.program = localPath(command.program);
    QStringList environment;
#ifndef Q_OS_WIN
    if (isWindowsExecutable(command.program)) {
        environment << QStringLiteral("WINEPREFIX=") + WinePrefix::containing(command.program);
        command.arguments.prepend(command.program);
        command.program = QStringLiteral("wine");
    }
#endif
    QString error;
    if (!ProcessStarter::instance().start(command.program, command.arguments, QDir::currentPath(),
                                          environment, error))
        throw LauncherError(QCoreApplication::translate("GameStart", "Could not start \"%1\": %2")
                                .arg(command.program, error));
}
