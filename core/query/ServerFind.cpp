#include "query/ServerFind.h"

bool serverMatches(const QString& needle, const QString& name, const QString& mission,
                   const QueryTable& queries, int slot) {
    if (needle.isEmpty())
        return false;
    if (name.contains(needle, Qt::CaseInsensitive) || mission.contains(needle, Qt::CaseInsensitive))
        return true;
    for (int index = 0; index < queries.PlayerCount[slot]; ++index)
        if (queries.playerName(slot, index).contains(needle, Qt::CaseInsensitive))
            return true;
    return false;
}
