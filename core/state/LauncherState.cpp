#include "state/LauncherState.h"

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
        return chooseExecutable_ ? chooseExecutable_(message) : QString();
    };
    const LoadOutcome outcome = loadRegistry(settings, mods, servers, choose);
    if (outcome.launcherKeyOpened) {
        profileNames = outcome.profileNames;
        playerName = outcome.playerName;
    }
    Q_EMIT reloaded(outcome);
    return outcome;
}

void LauncherState::save() const {
    saveRegistry(settings, mods, servers);
}

void LauncherState::clear() {
    settings = LauncherSettings();
    mods = ModTable();
    servers = ServerTable();
    queries = QueryTable();
    profileNames.clear();
    playerName = QStringLiteral("-");
}
