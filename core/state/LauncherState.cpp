#include "state/LauncherState.h"

#include "settings/EntryId.h"

LauncherState& LauncherState::instance() {
    static LauncherState state;
    return state;
}

void LauncherState::setExecutableChooser(ExecutableChooser chooser) {
    chooseExecutable_ = std::move(chooser);
}

LoadOutcome LauncherState::load() {
    Q_EMIT aboutToLoad();
    const auto choose = [this](const QString& message) {
        return chooseExecutable_ ? chooseExecutable_(message) : std::nullopt;
    };
    LoadOutcome outcome;
    try {
        outcome = loadRegistry(settings, mods, servers, choose, &friends);
        outcome.notices += loadMasterSettings(masters);
    } catch (...) {
        noteStored(); // a load that stopped early still tells what a save may write
        throw;
    }
    noteStored();
    if (outcome.launcherKeyOpened) {
        profileNames = outcome.profileNames;
        playerName = outcome.playerName;
    }
    Q_EMIT reloaded(outcome);
    return outcome;
}

void LauncherState::save() {
    Q_EMIT aboutToSave();
    saveRegistry(settings, mods, servers, &stored_, &friends, [this](SettingsStore& launcherKey) {
        writeMasterSettings(launcherKey, masters, &storedMasters_);
    });
    noteStored();
}

bool LauncherState::hasStoredSettings() const {
    return launcherKeyExists();
}

void LauncherState::saveExecutable(const QString& path) {
    ::saveExecutable(path);
    stored_.settings.ExecutablePath = path;
}

void LauncherState::noteStored() {
    stored_.settings = settings;
    stored_.mods = mods;
    stored_.servers = servers;
    stored_.friends = friends;
    storedMasters_ = masters;
}

void LauncherState::clear() {
    settings = LauncherSettings();
    mods = ModTable();
    servers = ServerTable();
    queries = QueryTable();
    friends = FriendSettings();
    masters = MasterSettings();
    profileNames.clear();
    playerName = QStringLiteral("-");
    noteStored();
}

int LauncherState::saveServer(int k, const ServerEntry& entry) {
    k = putServerEntry(servers, k, entry, clockSeed());
    if (k < 0)
        return -1;
    save();
    load();
    return k;
}
