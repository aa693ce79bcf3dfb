#pragma once

#include "settings/Tables.h"

#include <QStringList>
#include <QtGlobal>

class SettingsStore;

// The friends list as parallel arrays, like the other tables; slots 0 to
// Last are in use (-1: empty). A friend moves with its Id.
struct FriendTable {
    SlotArray<qint32> Id{};
    SlotArray<QString> Name;
    int Last = -1;
    // As ModTable::UnloadedKeys.
    QStringList UnloadedKeys;

    bool isEmpty() const { return Last < 0; }
};

// The friends list and how often the launcher looks for them.
struct FriendSettings {
    static constexpr qint32 DefaultCheckSeconds = 300;
    static constexpr qint32 MinCheckSeconds = 30;

    FriendTable table;
    // "friendcheck" under the launcher's key: seconds between background
    // checks, 0 for none.
    qint32 CheckSeconds = DefaultCheckSeconds;

    // The interval the check runs at: 0 (off) or at least MinCheckSeconds.
    qint32 checkIntervalSeconds() const;
};

// Reads the friends key and "friendcheck" (the store's launcher key need not
// be open). A missing value means the default; a value of another kind is
// told in notices and the default used, and the store keeps it. A bad entry
// throws as the other tables' entries do (see loadRegistry).
void loadFriends(SettingsStore& store, FriendSettings& friends, QStringList& notices);

// Writes what differs from stored (everything without it) as saveRegistry
// does for the other tables.
void saveFriends(SettingsStore& store, const FriendSettings& now, const FriendSettings* stored);

// Before a load: the friends key's entries that the table does not hold.
void noteFriendsNotInMemory(SettingsStore& store, FriendTable& table);
