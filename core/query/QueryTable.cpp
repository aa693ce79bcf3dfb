#include "query/QueryTable.h"

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
