#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// Where the internet server list comes from: values `masters`, `mastergame`
// and `masterkey` (texts) of the launcher's key. Nothing is filled in until
// the user enters it; with no master the internet list is off everywhere.
struct MasterSettings {
    QString masters; // host:port entries separated by blanks or ";"
    QString game;    // the game name sent to the master
    QString key;     // the secret key of the challenge answer

    bool operator==(const MasterSettings&) const = default;

    // The entries of masters, in order, without empty ones.
    QStringList masterList() const;
};

// Reads the three values from the store file, read-only. A value of another
// kind than text stays as it is in the store, reads as empty and is told in
// the returned notices.
QStringList loadMasterSettings(MasterSettings& settings);

// Writes the values that differ from stored (all without it) into a store
// opened at the launcher's key.
void writeMasterSettings(SettingsStore& launcherKey, const MasterSettings& settings,
                         const MasterSettings* stored = nullptr);
