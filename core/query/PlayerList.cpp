#include "query/PlayerList.h"

#include "settings/Tables.h"

#include <QCoreApplication>

void PlayerList::setFirstName(const QString& text) {
    names.set(0, text);
}

void PlayerList::makeRoom(qsizetype players, qsizetype bytes) {
    const qsizetype room = qMin(players, qsizetype(SLOT_COUNT));
    names.reserve(room, bytes);
    scores.reserve(room, bytes);
}

void PlayerList::reset() {
    count = 0;
    dropped = false;
    // Read once: a sweep resets the list of every server it asks.
    static const QString noPlayers = QCoreApplication::translate("PlayerList", "no players");
    setFirstName(noPlayers);
}

void PlayerList::add(QLatin1StringView name) {
    if (count >= SLOT_COUNT) {
        dropped = true;
        return;
    }
    names.set(count, name);
    ++count;
}

void PlayerList::setLastScore(QLatin1StringView score) {
    if (count < 1 || dropped)
        return;
    scores.set(count - 1, score);
}
