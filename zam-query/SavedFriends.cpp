#include "zam-query/SavedFriends.h"

#include "base/LauncherError.h"
#include "friends/FriendMatch.h"
#include "settings/SettingsStore.h"

#include <algorithm>

FriendTable readSavedFriends(QStringList& warnings) {
    SettingsStore store; // dropped without commit: nothing reaches the file
    store.setRootKey(RootKey::CurrentUser);
    FriendSettings friends;
    try {
        loadFriends(store, friends, warnings);
    } catch (const LauncherError& error) {
        warnings << QStringLiteral("friends after the first %1 skipped: %2")
                        .arg(friends.table.Last + 1)
                        .arg(error.message());
    }
    return friends.table;
}

bool keepServersWithFriends(std::vector<QueriedServer>& servers, const FriendTable& friends) {
    const FriendMatch match(friends);
    for (QueriedServer& server : servers)
        server.friends = server.answer.answered
                             ? match.friendsAmong(server.playerNames, server.playerCount)
                             : QStringList();
    std::erase_if(servers, [](const QueriedServer& server) { return server.friends.isEmpty(); });
    return !servers.empty();
}
