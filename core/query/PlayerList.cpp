#include "query/PlayerList.h"

#include "settings/Tables.h"

#include <QCoreApplication>

namespace {

// Assigning Latin-1 text reuses the room of the text it replaces: a sweep
// after the first allocates nothing for a player whose slot held a text as
// long.
template <typename Text> void store(QStringList& texts, int index, const Text& text) {
    if (texts.size() <= index)
        texts.resize(index + 1);
    texts[index] = text;
}

} // namespace

QString PlayerList::textAt(const QStringList& texts, int index) {
    return index >= 0 && index < texts.size() ? texts[index] : QString();
}

void PlayerList::setFirstName(const QString& text) {
    store(names, 0, text);
}

void PlayerList::makeRoom(qsizetype players) {
    const qsizetype room = qMin(players, qsizetype(SLOT_COUNT));
    names.reserve(room);
    scores.reserve(room);
}

void PlayerList::reset() {
    count = 0;
    dropped = false;
    setFirstName(QCoreApplication::translate("PlayerList", "no players"));
}

void PlayerList::add(QLatin1StringView name) {
    if (count >= SLOT_COUNT) {
        dropped = true;
        return;
    }
    store(names, count, name);
    ++count;
}

void PlayerList::setLastScore(QLatin1StringView score) {
    if (count < 1 || dropped)
        return;
    store(scores, count - 1, score);
}
