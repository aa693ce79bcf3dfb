#pragma once

#include "settings/RunnerSettings.h"

#include <QString>

// Starts a command-line text with the game directory as working directory:
// the directory becomes the process's current one (left unchanged when it
// does not exist) and the text is split into program and arguments. When the
// launcher does not run on Windows, a Windows executable (a file beginning
// with "MZ") goes through the runner's choice:
// - Wine: the chosen Wine program (else `wine`) with WINEPREFIX set to the
//   prefix the executable lies in (else the default one);
// - Proton: `PROTONFOLDER/proton run EXECUTABLE ARGUMENTS...` with
//   STEAM_COMPAT_DATA_PATH set to the folder holding the executable's `pfx`
//   and STEAM_COMPAT_CLIENT_INSTALL_PATH to the Steam folder.
// The runner's launch options (LaunchOptions.h) then wrap the result, for a
// native executable too. Throws LauncherError for launch options it cannot
// read, for Proton without a prefix or folder, and naming the program that
// could not be started.
void startCommandLine(const QString& commandLine, const QString& gameDir,
                      const RunnerSettings& runner = {});

// Starts the game's preferences tool, gameDir + "/QUELLGROVEPREFERENCES.EXE",
// as startCommandLine does, through the runner but without its launch
// options. Without the tool it throws LauncherError naming the file it
// looked for, and starts nothing.
void startPreferencesTool(const QString& gameDir, const RunnerSettings& runner = {});

// True when the file begins with "MZ".
bool isWindowsExecutable(const QString& path);

// For the user: the executable and what will start it.
QString describeGameStart(const QString& executablePath, const RunnerSettings& runner);
