#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

class SettingsStore;

// What starts a Windows executable and the user's launch options, kept as
// the values `runner`, `wine`, `proton` and `launchcommand` of the
// launcher's key. Missing values mean the system's `wine` and no options.
struct RunnerSettings {
    static constexpr qint32 Wine = 0;
    static constexpr qint32 Proton = 1; // any other value starts through Wine

    qint32 runner = Wine;
    QString wine;          // the Wine program; empty: `wine` from PATH
    QString proton;        // the folder holding the `proton` script
    QString launchCommand; // launch options, see LaunchOptions.h

    bool operator==(const RunnerSettings&) const = default;
};

// Reads the values from the store's open key. A value of the wrong kind
// leaves its field at the default, adds a notice for the user and stays in
// the store as it is (a save writes only what changed).
void readRunnerSettings(const SettingsStore& store, RunnerSettings& runner, QStringList& notices);

// Writes the fields that differ from `stored` (all without it) to the
// store's open key.
void writeRunnerSettings(SettingsStore& store, const RunnerSettings& runner,
                         const RunnerSettings* stored);
