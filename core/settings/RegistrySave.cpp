#include "settings/IntegerConversion.h"
#include "settings/Registry.h"
#include "settings/RememberedGeometry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QMultiHash>
#include <QSet>
#include <algorithm>

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
    store.closeKey();
}

// The table's subkeys by the Id their names convert to; a name that
// converts to none is no entry of the launcher's.
QMultiHash<qint32, QString> keysById(SettingsStore& store, const QString& tableKey) {
    QMultiHash<qint32, QString> keys;
    if (!store.openKey(tableKey, false))
        return keys;
    for (const QString& name : store.getKeyNames()) {
        qint32 id = 0;
        if (tryParseInteger(name, id))
            keys.insert(id, name);
    }
    return keys;
}

// Writes the entries of `now` that `stored` does not hold as they are (all
// without `stored`) and deletes the keys of stored entries whose Id is gone.
// sameEntry(k, s) compares slot k of now with slot s of stored.
template <typename Table, typename SameEntry, typename WriteEntry>
void writeTable(SettingsStore& store, const QString& tableKey, const Table& now,
                const Table* stored, SameEntry sameEntry, WriteEntry writeEntry) {
    const QMultiHash<qint32, QString> keys = keysById(store, tableKey);
    QMultiHash<qint32, int> storedSlots;
    for (int s = 0; stored && s <= stored->Last; ++s)
        storedSlots.insert(stored->Id[s], s);

    QSet<qint32> idsNow;
    for (int k = 0; k <= now.Last; ++k) {
        const qint32 id = now.Id[k];
        idsNow.insert(id);
        const QList<int> candidates = storedSlots.values(id);
        if (std::any_of(candidates.begin(), candidates.end(),
                        [&](int s) { return sameEntry(k, s); }))
            continue;
        store.openKey(tableKey + u'\\' + keys.value(id, QString::number(id)), true);
        writeEntry(k);
    }
    if (!store.openKey(tableKey, false))
        return;
    for (auto slot = storedSlots.cbegin(); slot != storedSlots.cend(); ++slot) {
        if (!idsNow.contains(slot.key()))
            for (const QString& name : keys.values(slot.key()))
                store.deleteKey(name);
    }
}

} // namespace

void saveRegistry(const LauncherSettings& settings, const ModTable& mods,
                  const ServerTable& servers, const StoredState* stored) {
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
