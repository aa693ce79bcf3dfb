#pragma once

#include "query/PlayerList.h"
#include "query/ReplyRoutes.h"
#include "settings/Tables.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The browser's query results per server, parallel to the server table and
// indexed by the same slot. Each server's player lists behave as a
// PlayerList describes.
struct QueryTable {
    SlotArray<QString> ResolvedIp; // dotted address of Host, replies are matched against it
    // The servers by the address and port their replies come from, as noted
    // with noteAddress: only these are matched against a reply.
    ReplyRoutes routes;
    SlotArray<quint32> SendTick{}; // tick when the server's query went out
    SlotArray<qint32> PlayerCount{};
    SlotArray<PlayerTexts> PlayerNames;
    SlotArray<PlayerTexts> PlayerScores;
    // A player of this sweep was dropped: every later score is one of theirs.
    SlotArray<bool> PlayersDropped{};

    PlayerList players(int server);

    // Stored texts; an index never written reads as empty text.
    QString playerName(int server, int index) const;
    QString playerScore(int server, int index) const;

    // The server's host resolved to address: ResolvedIp shows it, and the
    // server is routed at the query port of its saved gamePort.
    void noteAddress(int server, quint32 address, const QString& gamePort, bool sockets);
    void setFirstName(int server, const QString& text);
    void resetPlayers(int server);
    void addPlayer(int server, QLatin1StringView name);
    void setLastScore(int server, QLatin1StringView score);
};
