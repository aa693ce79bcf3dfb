#include "base/LauncherError.h"
#include "settings/GamePaths.h"
#include "settings/IntegerConversion.h"
#include "settings/Registry.h"
#include "settings/RememberedGeometry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/TableStore.h"
#include "settings/WinePrefix.h"

#include <QCoreApplication>
#include <QSet>

namespace {

const char* const kSelectExecutable =
    QT_TRANSLATE_NOOP("RegistryLoad", "Select the ZAM executable.");
const char* const kExecutableNotFound = QT_TRANSLATE_NOOP(
    "RegistryLoad", "ZAM Executable not found! Select the correct ZAM executable.");

// The game's own keys come from the store, or when it has none of its own
// from the Wine prefix the game was installed in; a path read there is
// mapped into the prefix where it is used (localPath).
void readGameDir(SettingsStore& store, LauncherSettings& settings) {
    store.setRootKey(RootKey::LocalMachine);
    const bool keyOpened = store.openKey(StoreKeys::Game, false);
    QString gameDir = keyOpened ? store.readString(QStringLiteral("MAIN")) : QString();
    store.closeKey();
    if (gameDir.isEmpty())
        gameDir = WinePrefix::gameDir();
    if (keyOpened || !gameDir.isEmpty())
        settings.GameDir = gameDir;
}

// Creates the launcher's key with its defaults; committed at once so the
// user's choice of executable survives whatever the rest of the load meets.
void firstRunSetup(SettingsStore& store, const ExecutableChooser& chooseExecutable) {
    store.openKey(StoreKeys::Launcher, true);
    if (const std::optional<QString> chosen =
            chooseExecutable(QCoreApplication::translate("RegistryLoad", kSelectExecutable)))
        store.writeString(QStringLiteral("executable"), *chosen);
    store.writeBool(QStringLiteral("nosplash"), true);
    store.writeBool(QStringLiteral("window"), false);
    store.writeBool(QStringLiteral("close"), false);
    store.writeInteger(QStringLiteral("watchers"), 1);
    store.writeString(QStringLiteral("o_sound1"), QStringLiteral("none"));
    store.writeString(QStringLiteral("o_sound2"), QStringLiteral("none"));
    store.openKey(StoreKeys::Mods, true);
    store.openKey(StoreKeys::Servers, true);
    store.closeKey();
    store.commit();
}

void readOptions(SettingsStore& store, LauncherSettings& s, const ExecutableChooser& choose) {
    s.ExecutablePath = store.readString(QStringLiteral("executable"));
    if (!fileExists(s.ExecutablePath)) {
        if (const std::optional<QString> chosen =
                choose(QCoreApplication::translate("RegistryLoad", kExecutableNotFound))) {
            s.ExecutablePath = *chosen;
            store.writeString(QStringLiteral("executable"), s.ExecutablePath);
        }
    }
    s.SkipSplash = store.readBool(QStringLiteral("nosplash"));
    s.Windowed = store.readBool(QStringLiteral("window"));
    try {
        s.CloseAfterLaunch = store.readBool(QStringLiteral("close"));
    } catch (const LauncherError&) {
        s.CloseAfterLaunch = false;
    }
    try {
        s.SoundMode = store.readInteger(QStringLiteral("watchers"));
    } catch (const LauncherError&) {
        s.SoundMode = 1;
    }
    try {
        s.Sound1 = store.readString(QStringLiteral("sound1"));
        s.Sound2 = store.readString(QStringLiteral("sound2"));
    } catch (const LauncherError&) {
        s.Sound1 = s.Sound2 = QStringLiteral("none");
    }
    if (s.Sound1.isEmpty())
        s.Sound1 = QStringLiteral("none");
    if (s.Sound2.isEmpty())
        s.Sound2 = QStringLiteral("none");
}

void loadMods(SettingsStore& store, ModTable& mods, QStringList& notices) {
    loadTable(
        store, StoreKeys::Mods, mods,
        [&](int k) {
            mods.Name[k] = store.readString(QStringLiteral("name"));
            mods.Dir[k] = store.readString(QStringLiteral("dir"));
            mods.Checked[k] = store.readBool(QStringLiteral("checked"));
        },
        QStringLiteral("mods"), notices);
}

void loadServers(SettingsStore& store, ServerTable& servers, QStringList& notices) {
    loadTable(
        store, StoreKeys::Servers, servers,
        [&](int k) {
            servers.Name[k] = store.readString(QStringLiteral("name"));
            servers.Host[k] = store.readString(QStringLiteral("ip"));
            servers.Port[k] = store.readString(QStringLiteral("port"));
            servers.Pass[k] = store.readString(QStringLiteral("pass"));
            servers.Sockets[k] = store.readBool(QStringLiteral("sockets"));
            servers.Mods[k] = store.readString(QStringLiteral("mods"));
        },
        QStringLiteral("servers"), notices);
}

void readPlayer(SettingsStore& store, const LauncherSettings& settings, LoadOutcome& outcome) {
    store.setRootKey(RootKey::CurrentUser);
    if (store.openKey(StoreKeys::Game, false))
        outcome.playerName = store.readString(QStringLiteral("Player Name"));
    store.closeKey();
    if (outcome.playerName.isEmpty())
        outcome.playerName = WinePrefix::playerName();
    outcome.profileNames = listProfileNames(settings.GameDir);
}

} // namespace

LoadOutcome loadRegistry(LauncherSettings& settings, ModTable& mods, ServerTable& servers,
                         const ExecutableChooser& chooseExecutable, FriendSettings* friends) {
    LoadOutcome outcome;
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    noteEntriesNotInMemory(store, StoreKeys::Mods, mods);
    noteEntriesNotInMemory(store, StoreKeys::Servers, servers);
    if (friends)
        noteFriendsNotInMemory(store, friends->table);
    // The executable chosen at a prompt must reach the file whatever step
    // the load stops at.
    try {
        readGameDir(store, settings);
        store.setRootKey(RootKey::CurrentUser);
        if (!store.openKey(StoreKeys::Launcher, false))
            firstRunSetup(store, chooseExecutable);
        if (!store.openKey(StoreKeys::Launcher, false))
            return outcome;
        outcome.launcherKeyOpened = true;
        readOptions(store, settings, chooseExecutable);
        readBrowserOptions(store, settings.Browser, outcome.notices);
        loadGeometry(store, settings.Geometry, outcome.notices);
        loadMods(store, mods, outcome.notices);
        loadServers(store, servers, outcome.notices);
        readPlayer(store, settings, outcome);
        if (friends)
            loadFriends(store, *friends, outcome.notices);
    } catch (...) {
        store.closeKey();
        try {
            store.commit();
        } catch (const LauncherError&) {
            // The load's own error is the one the user needs to see.
        }
        throw;
    }
    store.commit();
    return outcome;
}
