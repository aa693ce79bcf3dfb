#include "query/QueryTable.h"

namespace {

QString textAt(const QStringList& texts, int index) {
    return index >= 0 && index < texts.size() ? texts[index] : QString();
}

void store(QStringList& texts, int index, const QString& text) {
    if (texts.size() <= index)
        texts.resize(index + 1);
    texts[index] = text;
}

} // namespace

QString QueryTable::playerName(int server, int index) const {
    return textAt(PlayerNames[server], index);
}

QString QueryTable::playerScore(int server, int index) const {
    return textAt(PlayerScores[server], index);
}

void QueryTable::setFirstName(int server, const QString& text) {
    store(PlayerNames[server], 0, text);
}

void QueryTable::resetPlayers(int server) {
    PlayerCount[server] = 0;
    PlayersDropped[server] = false;
    setFirstName(server, QStringLiteral("no players"));
}

void QueryTable::addPlayer(int server, QLatin1StringView name) {
    const int index = PlayerCount[server];
    if (index >= SLOT_COUNT) {
        PlayersDropped[server] = true;
        return;
    }
    store(PlayerNames[server], index, name.toString());
    PlayerCount[server] = index + 1;
}

void QueryTable::setLastScore(int server, QLatin1StringView score) {
    const int index = PlayerCount[server] - 1;
    if (index < 0 || PlayersDropped[server])
        return;
    store(PlayerScores[server], index, score.toString());
}
