#include "settings/Registry.h"
#include "settings/RememberedGeometry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/TableStore.h"

namespace {

// True when the option must be written: it differs from what the store
// holds, or nothing is known about the store.
template <typename Field>
bool differs(const LauncherSettings& now, const LauncherSettings* stored,
             Field LauncherSettings::*field) {
    return !stored || now.*field != stored->*field;
}

void writeOptions(SettingsStore& store, const LauncherSettings& s, const LauncherSettings* stored) {
    store.openKey(StoreKeys::Launcher, true);
    if (differs(s, stored, &LauncherSettings::ExecutablePath))
        store.writeString(QStringLiteral("executable"), s.ExecutablePath);
    if (differs(s, stored, &LauncherSettings::SkipSplash))
        store.writeBool(QStringLiteral("nosplash"), s.SkipSplash);
    if (differs(s, stored, &LauncherSettings::Windowed))
        store.writeBool(QStringLiteral("window"), s.Windowed);
    if (differs(s, stored, &LauncherSettings::CloseAfterLaunch))
        store.writeBool(QStringLiteral("close"), s.CloseAfterLaunch);
    if (differs(s, stored, &LauncherSettings::Sound1))
        store.writeString(QStringLiteral("sound1"), s.Sound1);
    if (differs(s, stored, &LauncherSettings::Sound2))
        store.writeString(QStringLiteral("sound2"), s.Sound2);
    if (differs(s, stored, &LauncherSettings::SoundMode))
        store.writeInteger(QStringLiteral("watchers"), s.SoundMode);
    writeRunnerSettings(store, s.Runner, stored ? &stored->Runner : nullptr);
    writeBrowserOptions(store, s.Browser, stored ? &stored->Browser : nullptr);
    store.closeKey();
}

} // namespace

void saveRegistry(const LauncherSettings& settings, const ModTable& mods,
                  const ServerTable& servers, const StoredState* stored,
                  const FriendSettings* friends,
                  const std::function<void(SettingsStore&)>& alsoWrite) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Launcher, false))
        return;
    writeOptions(store, settings, stored ? &stored->settings : nullptr);
    saveGeometry(store, settings.Geometry, stored ? &stored->settings.Geometry : nullptr);

    const ModTable* storedMods = stored ? &stored->mods : nullptr;
    writeTable(
        store, StoreKeys::Mods, mods, storedMods,
        [&](int k, int s) {
            return mods.Name[k] == storedMods->Name[s] && mods.Dir[k] == storedMods->Dir[s] &&
                   mods.Checked[k] == storedMods->Checked[s];
        },
        [&](int k) {
            store.writeString(QStringLiteral("name"), mods.Name[k]);
            store.writeString(QStringLiteral("dir"), mods.Dir[k]);
            store.writeBool(QStringLiteral("checked"), mods.Checked[k]);
        });

    const ServerTable* storedServers = stored ? &stored->servers : nullptr;
    writeTable(
        store, StoreKeys::Servers, servers, storedServers,
        [&](int k, int s) {
            return servers.Name[k] == storedServers->Name[s] &&
                   servers.Host[k] == storedServers->Host[s] &&
                   servers.Port[k] == storedServers->Port[s] &&
                   servers.Pass[k] == storedServers->Pass[s] &&
                   servers.Mods[k] == storedServers->Mods[s] &&
                   servers.Sockets[k] == storedServers->Sockets[s];
        },
        [&](int k) {
            store.writeString(QStringLiteral("name"), servers.Name[k]);
            store.writeString(QStringLiteral("ip"), servers.Host[k]);
            store.writeString(QStringLiteral("pass"), servers.Pass[k]);
            store.writeString(QStringLiteral("port"), servers.Port[k]);
            store.writeString(QStringLiteral("mods"), servers.Mods[k]);
            store.writeBool(QStringLiteral("sockets"), servers.Sockets[k]);
        });
    if (friends)
        saveFriends(store, *friends, stored ? &stored->friends : nullptr);
    if (alsoWrite)
        alsoWrite(store);
    store.closeKey();
    store.commit();
}

bool launcherKeyExists() {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    return store.openKey(StoreKeys::Launcher, false);
}

void saveExecutable(const QString& path) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Launcher, false))
        return;
    store.writeString(QStringLiteral("executable"), path);
    store.closeKey();
    store.commit();
}
