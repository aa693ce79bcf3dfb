#include "friends/FriendListEdits.h"

#include "friends/FriendMatch.h"
#include "settings/TableEdits.h"

int findFriend(const FriendTable& friends, QStringView name) {
    const QString key = FriendMatch::key(name);
    for (int k = 0; k <= friends.Last; ++k)
        if (FriendMatch::key(friends.Name[k]) == key)
            return k;
    return -1;
}

int addFriend(FriendTable& friends, const QString& name, quint32 seed) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return -1;
    if (const int listed = findFriend(friends, trimmed); listed >= 0)
        return listed;
    const int slot = addFriendEntry(friends, seed);
    if (slot >= 0)
        friends.Name[slot] = trimmed;
    return slot;
}

int removeFriend(FriendTable& friends, QStringView name) {
    int removed = 0;
    for (int slot; (slot = findFriend(friends, name)) >= 0; ++removed)
        deleteFriendEntry(friends, slot);
    return removed;
}
