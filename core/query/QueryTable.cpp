#include "query/QueryTable.h"

#include "query/HostLookup.h"
#include "query/StatusQuery.h"

PlayerList QueryTable::players(int server) {
    return {PlayerCount[server], PlayerNames[server], PlayerScores[server], PlayersDropped[server]};
}

QString QueryTable::playerName(int server, int index) const {
    return PlayerList::textAt(PlayerNames[server], index);
}

QString QueryTable::playerScore(int server, int index) const {
    return PlayerList::textAt(PlayerScores[server], index);
}

void QueryTable::setFirstName(int server, const QString& text) {
    players(server).setFirstName(text);
}

void QueryTable::resetPlayers(int server) {
    players(server).reset();
}

void QueryTable::addPlayer(int server, QLatin1StringView name) {
    players(server).add(name);
}

void QueryTable::setLastScore(int server, QLatin1StringView score) {
    players(server).setLastScore(score);
}

// A saved port that is no plain decimal number is routed nowhere: a reply
// could never match its text anyway.
void QueryTable::noteAddress(int server, quint32 address, const QString& gamePort, bool sockets) {
    ResolvedIp[server] = dottedText(address);
    bool isNumber = false;
    const qint64 port = qint64(gamePort.toInt(&isNumber)) + QueryPortOffset(sockets);
    if (isNumber && port >= 0 && port <= 0xFFFF)
        routes.route(server, address, quint16(port));
    else
        routes.forget(server);
}
