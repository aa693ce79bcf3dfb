#pragma once

#include "settings/FriendSettings.h"
#include "settings/Tables.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class SettingsStore;

// Shows the message, runs the main window's open-file dialog and returns the
// chosen file, or nothing when the user cancelled.
using ExecutableChooser = std::function<std::optional<QString>(const QString& message)>;

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
// (the others stay in the store, see UnloadedKeys). A prompt's executable is
// written to the store whatever step the load stops at; a cancelled prompt
// writes nothing and keeps the stored path. With friends, the friends list
// and its options are loaded last (see loadFriends).
LoadOutcome loadRegistry(LauncherSettings& settings, ModTable& mods, ServerTable& servers,
                         const ExecutableChooser& chooseExecutable,
                         FriendSettings* friends = nullptr);

// The settings and both tables as the store holds them, as far as this
// session knows: what the last load read (or, where it stopped early, what
// was in memory then) and what the last save wrote.
struct StoredState {
    LauncherSettings settings;
    ModTable mods;
    ServerTable servers;
    FriendSettings friends;
};

// Writes the settings and both tables to the store. Does nothing when the
// launcher's key does not exist. With `stored`, only what differs from it is
// written, and the entries of `stored` that the tables no longer hold are
// deleted: options and entries the session did not change stay exactly as
// the store has them, whatever step a load stopped at. Without it, every
// option and entry is written and nothing is deleted. An entry is its Id:
// a changed one is written to the key that holds that Id ("0042" for 42).
// With friends, the friends list and its options are saved the same way.
// Then alsoWrite writes what else it keeps into the same store, opened at the
// launcher's key, so that the file is parsed, written and synced once.
void saveRegistry(const LauncherSettings& settings, const ModTable& mods,
                  const ServerTable& servers, const StoredState* stored = nullptr,
                  const FriendSettings* friends = nullptr,
                  const std::function<void(SettingsStore&)>& alsoWrite = {});

// True when the store holds the launcher's key.
bool launcherKeyExists();

// Writes the executable path to the launcher's key, and nothing else. Does
// nothing when the key does not exist.
void saveExecutable(const QString& path);
