#include "friends/FriendMatch.h"

#include "settings/CaseInsensitive.h"

bool operator==(FriendMatch::Folded a, FriendMatch::Folded b) {
    return equalCaseInsensitive(a.name, b.name);
}

// Hashes the name case-folded, as the comparison folds it: a short ASCII
// name is folded into a buffer on the stack, any other into a new text.
size_t qHash(FriendMatch::Folded key, size_t seed) {
    constexpr qsizetype shortName = 64;
    const QStringView name = key.name;
    if (name.size() <= shortName) {
        char16_t folded[shortName];
        bool ascii = true;
        for (qsizetype i = 0; i < name.size() && ascii; ++i) {
            const char16_t unit = name[i].unicode();
            ascii = unit < 0x80;
            folded[i] = unit >= u'A' && unit <= u'Z' ? char16_t(unit + 0x20) : unit;
        }
        if (ascii)
            return qHash(QStringView(folded, name.size()), seed);
    }
    return qHash(name.toString().toCaseFolded(), seed);
}

FriendMatch::FriendMatch(const FriendTable& friends) {
    for (int k = 0; k <= friends.Last; ++k) {
        const QString name = friends.Name[k].trimmed();
        if (!name.isEmpty())
            names_ << name;
    }
    index_.reserve(names_.size());
    for (qsizetype k = 0; k < names_.size(); ++k)
        index_.insert(Folded{names_[k]}, k); // the first of equal names is kept
}

QString FriendMatch::key(QStringView name) {
    return name.trimmed().toString().toCaseFolded();
}

QString FriendMatch::friendNamed(QStringView playerName) const {
    if (index_.isEmpty())
        return QString();
    const auto found = index_.constFind(Folded{playerName.trimmed()});
    return found == index_.cend() ? QString() : names_[*found];
}

template <typename Names>
QStringList FriendMatch::friendsIn(const Names& playerNames, qsizetype count) const {
    QStringList found;
    if (index_.isEmpty())
        return found;
    QList<bool> listed;
    count = std::min(count, playerNames.size());
    for (qsizetype k = 0; k < count; ++k) {
        const QString name = playerNames.at(k); // a shared text, or Latin-1 made UTF-16
        const auto friendAt = index_.constFind(Folded{QStringView(name).trimmed()});
        if (friendAt == index_.cend())
            continue;
        if (listed.isEmpty())
            listed.resize(names_.size());
        if (!std::exchange(listed[*friendAt], true))
            found << names_[*friendAt];
    }
    return found;
}

QStringList FriendMatch::friendsAmong(const QStringList& playerNames, qsizetype count) const {
    return friendsIn(playerNames, count);
}

QStringList FriendMatch::friendsAmong(const PlayerTexts& playerNames, qsizetype count) const {
    return friendsIn(playerNames, count);
}
