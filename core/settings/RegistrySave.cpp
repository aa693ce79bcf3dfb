#include "settings/Registry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

namespace {

// Deletes every subkey of the open key but those the last load could not
// take into its table: they are not in memory, so rewriting cannot restore them.
void deleteLoadedEntries(SettingsStore& store, const QStringList& keep) {
    for (const QString& name : store.getKeyNames())
        if (!keep.contains(name, Qt::CaseInsensitive))
            store.deleteKey(name);
}

} // namespace

void saveRegistry(const LauncherSettings& settings, const ModTable& mods,
                  const ServerTable& servers) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Launcher, false))
        return;
    store.closeKey();
    store.openKey(StoreKeys::Launcher, true);
    store.writeString(QStringLiteral("executable"), settings.ExecutablePath);
    store.writeBool(QStringLiteral("nosplash"), settings.SkipSplash);
    store.writeBool(QStringLiteral("window"), settings.Windowed);
    store.writeBool(QStringLiteral("close"), settings.CloseAfterLaunch);
    store.writeString(QStringLiteral("sound1"), settings.Sound1);
    store.writeString(QStringLiteral("sound2"), settings.Sound2);
    store.writeInteger(QStringLiteral("watchers"), settings.SoundMode);
    store.closeKey();

    store.openKey(StoreKeys::Mods, true);
    deleteLoadedEntries(store, mods.UnloadedKeys);
    for (int k = 0; k <= mods.Last; ++k) {
        store.closeKey();
        store.openKey(StoreKeys::modEntry(QString::number(mods.Id[k])), true);
        store.writeString(QStringLiteral("name"), mods.Name[k]);
        store.writeString(QStringLiteral("dir"), mods.Dir[k]);
        store.writeBool(QStringLiteral("checked"), mods.Checked[k]);
    }

    store.openKey(StoreKeys::Servers, true);
    deleteLoadedEntries(store, servers.UnloadedKeys);
    for (int k = 0; k <= servers.Last; ++k) {
        store.closeKey();
        store.openKey(StoreKeys::serverEntry(QString::number(servers.Id[k])), true);
        store.writeString(QStringLiteral("name"), servers.Name[k]);
        store.writeString(QStringLiteral("ip"), servers.Host[k]);
        store.writeString(QStringLiteral("pass"), servers.Pass[k]);
        store.writeString(QStringLiteral("port"), servers.Port[k]);
        store.writeString(QStringLiteral("mods"), servers.Mods[k]);
        store.writeBool(QStringLiteral("sockets"), servers.Sockets[k]);
    }
    store.closeKey();
    store.commit();
}
