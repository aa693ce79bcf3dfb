#include "friends/FriendSightings.h"

#include "friends/FriendMatch.h"
#include "settings/Tables.h"

QString serverKey(const QString& host, const QString& port, bool sockets) {
    return host.trimmed().toCaseFolded() + u':' + port.trimmed() + (sockets ? u's' : u'd');
}

QList<ServerSighting> FriendSightings::look(const QList<ServerSighting>& servers) {
    QList<ServerSighting> news;
    QSet<QString> looked;
    for (const ServerSighting& server : servers) {
        if (looked.contains(server.serverKey))
            continue;
        looked.insert(server.serverKey);
        QSet<QString> now;
        ServerSighting fresh = server;
        fresh.friends.clear();
        const QSet<QString> before = seen_.value(server.serverKey);
        for (const QString& name : server.friends) {
            const QString key = FriendMatch::key(name);
            if (now.contains(key))
                continue;
            now.insert(key);
            if (!before.contains(key))
                fresh.friends << name;
        }
        if (now.isEmpty())
            seen_.remove(server.serverKey);
        else
            seen_.insert(server.serverKey, now);
        if (!fresh.friends.isEmpty())
            news << fresh;
    }
    return news;
}

ServerSighting savedServerSighting(const ServerTable& servers, int slot, const FriendMatch& match,
                                   const PlayerTexts& playerNames, qsizetype count,
                                   const QString& players, const QString& mission) {
    ServerSighting sighting;
    sighting.serverKey = serverKey(servers.Host[slot], servers.Port[slot], servers.Sockets[slot]);
    sighting.serverName = servers.Name[slot].trimmed().isEmpty()
                              ? servers.Host[slot] + u':' + servers.Port[slot]
                              : servers.Name[slot];
    sighting.slot = slot;
    sighting.players = players.trimmed();
    sighting.mission = mission.trimmed();
    sighting.friends = match.friendsAmong(playerNames, count);
    return sighting;
}
