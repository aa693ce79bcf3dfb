#include "settings/FriendSettings.h"

#include "base/LauncherError.h"
#include "settings/StoreKeys.h"
#include "settings/TableStore.h"

#include <QCoreApplication>

namespace {

const QString kCheckValue = QStringLiteral("friendcheck");

} // namespace

qint32 FriendSettings::checkIntervalSeconds() const {
    if (CheckSeconds <= 0)
        return 0;
    return std::max(CheckSeconds, MinCheckSeconds);
}

void loadFriends(SettingsStore& store, FriendSettings& friends, QStringList& notices) {
    friends.CheckSeconds = FriendSettings::DefaultCheckSeconds;
    if (store.openKey(StoreKeys::Launcher, false) && store.hasValue(kCheckValue)) {
        try {
            friends.CheckSeconds = store.readInteger(kCheckValue);
        } catch (const LauncherError& error) {
            notices << QCoreApplication::translate(
                           "FriendSettings", "%1; the friends are looked for every %2 seconds.")
                           .arg(error.message())
                           .arg(FriendSettings::DefaultCheckSeconds);
        }
    }
    // A store without friends stays without the key.
    FriendTable& table = friends.table;
    if (!store.openKey(StoreKeys::Friends, false)) {
        table = FriendTable();
        return;
    }
    loadTable(
        store, StoreKeys::Friends, table,
        [&](int k) { table.Name[k] = store.readString(QStringLiteral("name")); },
        QStringLiteral("friends"), notices);
}

void saveFriends(SettingsStore& store, const FriendSettings& now, const FriendSettings* stored) {
    if ((!stored || now.CheckSeconds != stored->CheckSeconds) &&
        store.openKey(StoreKeys::Launcher, false))
        store.writeInteger(kCheckValue, now.CheckSeconds);
    const FriendTable* storedTable = stored ? &stored->table : nullptr;
    writeTable(
        store, StoreKeys::Friends, now.table, storedTable,
        [&](int k, int s) { return now.table.Name[k] == storedTable->Name[s]; },
        [&](int k) { store.writeString(QStringLiteral("name"), now.table.Name[k]); });
}

void noteFriendsNotInMemory(SettingsStore& store, FriendTable& table) {
    noteEntriesNotInMemory(store, StoreKeys::Friends, table);
}
