#pragma once

#include "query/PlayerList.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

// What one server's row shows after a sweep; the texts are the browser's
// ("??" ping and blank players and mission until a reply says otherwise).
struct ServerAnswer {
    bool answered = false;
    QString ping = QStringLiteral("??");
    QString players;
    QString mission;
};

// One server as zam-query asks it, and what it answered. Its size is fixed
// but for the texts the server sent, so a sweep's memory grows linearly with
// its servers.
struct QueriedServer {
    QString name; // saved servers only
    QString host;
    QString port; // the game port, as given or saved
    bool sockets = true;
    // Listed by a master: the reply's hostport, when it has one, is the game
    // port shown (replyGamePort, 0 until then) instead of the query port - 1.
    bool gamePortFromReply = false;
    quint16 replyGamePort = 0;
    quint32 sendTick = 0;
    ServerAnswer answer;
    qint32 playerCount = 0;
    bool playersDropped = false;
    PlayerTexts playerNames;
    PlayerTexts playerScores;
    QStringList friends; // with --friends: the friends playing on it

    PlayerList players() { return {playerCount, playerNames, playerScores, playersDropped}; }
};
