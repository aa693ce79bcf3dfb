#include "friends/FriendMatch.h"

#include <QSet>

FriendMatch::FriendMatch(const FriendTable& friends) {
    for (int k = 0; k <= friends.Last; ++k) {
        const QString name = friends.Name[k].trimmed();
        if (!name.isEmpty())
            names_.insert(key(name), name);
    }
}

QString FriendMatch::key(QStringView name) {
    return name.trimmed().toString().toCaseFolded();
}

QString FriendMatch::friendNamed(QStringView playerName) const {
    if (names_.isEmpty())
        return QString();
    const auto found = names_.constFind(key(playerName));
    return found == names_.cend() ? QString() : *found;
}

QStringList FriendMatch::friendsAmong(const QStringList& playerNames, qsizetype count) const {
    QStringList found;
    if (names_.isEmpty())
        return found;
    QSet<QString> listed;
    count = std::min(count, playerNames.size());
    for (qsizetype k = 0; k < count; ++k) {
        const QString name = friendNamed(playerNames[k]);
        if (!name.isNull() && !listed.contains(name)) {
            listed.insert(name);
            found << name;
        }
    }
    return found;
}
