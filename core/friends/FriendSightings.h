#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// One server as a sweep saw it, with the friends playing there.
struct ServerSighting {
    QString serverKey;  // serverKey() of the server's host, port and implementation
    QString serverName; // as saved, else host:port
    int slot = -1;      // the saved server's slot, -1 for one that is not saved
    QString players;    // the players column's text, "3/12"
    QString mission;
    QStringList friends;
};

// The key that tells servers apart for the sightings.
QString serverKey(const QString& host, const QString& port, bool sockets);

// Which friends have been seen on which server, so each is announced once
// per stay: a friend is new on a server when the previous look at that
// server did not see them there. Every sweep, the watcher's poll and the
// background check report what they saw through look().
class FriendSightings {
public:
    // The servers of this look with friends not seen there before, each
    // with only those friends; servers of the look without friends are
    // forgotten. One look reports a server once, the first time it appears.
    QList<ServerSighting> look(const QList<ServerSighting>& servers);

private:
    QHash<QString, QSet<QString>> seen_; // server key -> friends seen there last
};

class FriendMatch;
class PlayerTexts;
struct ServerTable;

// The saved server in slot as a sweep saw it: its first count players
// matched against the friends.
ServerSighting savedServerSighting(const ServerTable& servers, int slot, const FriendMatch& match,
                                   const PlayerTexts& playerNames, qsizetype count,
                                   const QString& players, const QString& mission);
