#pragma once

#include <QString>

// Starts a command-line text with the game directory as working directory:
// the directory becomes the process's current one (left unchanged when it
// does not exist), the text is split into program and arguments, and a
// Windows executable (a file beginning with "MZ") goes through `wine` when
// the launcher does not run on Windows, with WINEPREFIX set to the prefix
// the executable lies in (else the default one). Throws LauncherError
// naming what could not be started.
void startCommandLine(const QString& commandLine, const QString& gameDir);

// Starts the game's preferences tool, gameDir + "/QUELLGROVEPREFERENCES.EXE",
// as startCommandLine does. Without the tool it throws LauncherError naming
// the file it looked for, and starts nothing.
void startPreferencesTool(const QString& gameDir);
