#pragma once

#include "query/QueryTable.h"
#include "settings/MasterSettings.h"
#include "settings/Registry.h"
#include "settings/TableEdits.h"
#include "settings/Tables.h"

#include <QObject>

// The launcher's state and its one owner: the options, the mod and server
// tables, the browser's query results and the player names of the last load.
// Windows read and change the members directly, write them to the store with
// save() and take the store's content back with load(); aboutToLoad() and
// reloaded() let every window refresh what it shows.
class LauncherState : public QObject {
    Q_OBJECT
public:
    // The process-wide state the windows share.
    static LauncherState& instance();

    LauncherSettings settings;
    ModTable mods;
    ServerTable servers;
    QueryTable queries;
    FriendSettings friends;
    MasterSettings masters;
    // The profile names and the player name of the last load that opened the
    // launcher's key; "-" until then.
    QStringList profileNames;
    QString playerName = QStringLiteral("-");

    // Asks the user for the executable when a load needs one (the main
    // window's file dialog); without a chooser the answer is empty.
    void setExecutableChooser(ExecutableChooser chooser);

    // Loads the settings, both tables and the friends from the store. Throws the load's
    // error; what was read until then stays, as loadRegistry describes.
    LoadOutcome load();
    // Writes what changed since the last load or save; whatever this session
    // neither read nor changed stays in the store as it is.
    void save();
    // True when the store holds the launcher's key.
    bool hasStoredSettings() const;
    // Writes a newly chosen executable to the store, and nothing else: what
    // the windows changed since the last load or save stays unsaved.
    void saveExecutable(const QString& path);
    // Back to a launcher that has loaded nothing.
    void clear();

    // Saves a server as the servers editor's Save does: into slot k, or as a
    // new entry when k is -1, then writes the store and loads it back.
    // Returns the slot, or -1 (nothing written) when the table is full.
    int saveServer(int k, const ServerEntry& entry);

Q_SIGNALS:
    void aboutToLoad();
    // Before a save: windows note what they keep in the state (their places).
    void aboutToSave();
    // After a load that ran to its end.
    void reloaded(const LoadOutcome& outcome);

private:
    // The state is now what the store holds.
    void noteStored();

    ExecutableChooser chooseExecutable_;
    StoredState stored_;
    MasterSettings storedMasters_;
};
