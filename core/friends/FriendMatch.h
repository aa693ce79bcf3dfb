#pragma once

#include "query/PlayerTexts.h"
#include "settings/FriendSettings.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

// The friends list made ready for matching player names: a name is a
// friend's when it equals one ignoring case and surrounding blanks. Looking a
// player up costs one hash lookup and allocates nothing; blank friend names
// match no one.
class FriendMatch {
public:
    FriendMatch() = default;
    explicit FriendMatch(const FriendTable& friends);

    bool isEmpty() const { return index_.isEmpty(); }
    // The friend's name as listed, or a null text when the player is no friend.
    QString friendNamed(QStringView playerName) const;
    bool isFriend(QStringView playerName) const { return !friendNamed(playerName).isNull(); }
    // The friends among the first count player names, as listed, each once,
    // in the order they play.
    QStringList friendsAmong(const QStringList& playerNames, qsizetype count) const;
    QStringList friendsAmong(const PlayerTexts& playerNames, qsizetype count) const;

    // What two names that match have in common.
    static QString key(QStringView name);

    // A name without its surrounding blanks, hashed and compared ignoring case.
    struct Folded {
        QStringView name;
        friend bool operator==(Folded a, Folded b);
        friend size_t qHash(Folded key, size_t seed);
    };

private:
    template <typename Names>
    QStringList friendsIn(const Names& playerNames, qsizetype count) const;

    QStringList names_;              // the friends' names as listed, without surrounding blanks
    QHash<Folded, qsizetype> index_; // views into names_ -> their index
};
