#pragma once

#include "settings/Tables.h"

#include <QString>
#include <QStringList>
#include <functional>

// Shows the message, runs the main window's open-file dialog and returns the
// dialog's file name (whatever the user did).
using ExecutableChooser = std::function<QString(const QString& message)>;

struct LoadOutcome {
    bool launcherKeyOpened = false; // false: the player name was not read
    QString playerName;
    QStringList profileNames;
    QStringList notices; // things the user should be told (tables too full)
};

// Loads the settings and both tables from the store, running the first-run
// set-up when the launcher's key is missing. Throws the store's or the
// integer conversion's error at a bad entry; what was loaded until then
// stays, and the table being loaded keeps only the entries it could read
// (the others stay in the store, see UnloadedKeys).
LoadOutcome loadRegistry(LauncherSettings& settings, ModTable& mods, ServerTable& servers,
                         const ExecutableChooser& chooseExecutable);

// Writes the settings and both tables to the store. Does nothing when the
// launcher's key does not exist.
void saveRegistry(const LauncherSettings& settings, const ModTable& mods,
                  const ServerTable& servers);
