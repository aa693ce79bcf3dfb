#pragma once

#include "settings/Tables.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>

// The argument texts the three launch actions pass, byte for byte.
QString singleplayerArgument(const QString& playerName);
QString hostArgument(const QString& playerName);
QString joinArgument(const QString& host, const QString& port, const QString& pass, bool sockets,
                     const QString& playerName);

// Selects the mod list of a launch: the mods ticked in the main window, or
// the Mods text of a server slot.
inline constexpr qint32 TickedMods = -1;
// No mods at all (a server that is not saved has none).
inline constexpr qint32 NoMods = -2;

// Composes the game's command line: the executable (unquoted), the launch
// options, the mod list and the caller's argument text. ticked[k] says
// whether the main window's check list item k (mod slot k) is ticked.
QString composeCommandLine(const LauncherSettings& settings, const ModTable& mods,
                           const ServerTable& servers, const QList<bool>& ticked,
                           const QString& argumentText, qint32 ModSelector);

struct ProcessCommand {
    QString program;
    QStringList arguments;
};

// Reads a command-line text the way the game's platform does: the program is
// the shortest blank-delimited prefix that names an existing file (also tried
// with ".exe" appended), or the quoted text when it starts with a double
// quote; the rest is split into arguments by the double-quote rules. Without
// an existing prefix the program is the first blank-delimited word.
ProcessCommand splitCommandLine(const QString& commandLine,
                                const std::function<bool(const QString&)>& isFile);

// Splits argument text by the platform's double-quote rules: blanks and tabs
// separate arguments, double quotes group, backslashes escape only before a
// double quote, and "" inside quotes is a literal quote.
QStringList splitArguments(QStringView text);
