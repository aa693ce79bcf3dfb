// bench_friends: the cost of matching a sweep's players against the friends
// list: a full list (1025 friends) against 1025 servers of 64 players, one
// of them a friend, per player, beside a bare hash lookup of the same names;
// and one look of FriendSightings over those servers. Prints the median of
// 21 rounds.

#include "friends/FriendMatch.h"
#include "friends/FriendSightings.h"

#include <QElapsedTimer>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Servers = 1025;
constexpr int Players = 64;
constexpr int Rounds = 21;

template <typename Run> double medianNs(Run run) {
    std::vector<qint64> times;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    return double(times[Rounds / 2]);
}

} // namespace

int main() {
    FriendTable friends;
    friends.Last = SLOT_COUNT - 1;
    QSet<QString> bare;
    for (int k = 0; k < SLOT_COUNT; ++k) {
        friends.Name[k] = QStringLiteral("Friend %1").arg(k);
        bare.insert(friends.Name[k]);
    }
    std::vector<QStringList> servers(Servers);
    for (int s = 0; s < Servers; ++s)
        for (int p = 0; p < Players; ++p)
            servers[size_t(s)] << (p == 7 ? QStringLiteral(" friend %1 ").arg(s)
                                          : QStringLiteral("Player %1-%2").arg(s).arg(p));
    const FriendMatch match(friends);
    qsizetype found = 0;
    const double matchNs = medianNs([&] {
        for (const QStringList& names : servers)
            found += match.friendsAmong(names, names.size()).size();
    });
    const double bareNs = medianNs([&] {
        for (const QStringList& names : servers)
            for (const QString& name : names)
                found += bare.contains(name);
    });
    QList<ServerSighting> sightings;
    for (int s = 0; s < Servers; ++s) {
        ServerSighting sighting;
        sighting.serverKey = QString::number(s);
        sighting.friends = match.friendsAmong(servers[size_t(s)], Players);
        sightings << sighting;
    }
    FriendSightings seen;
    const double lookNs = medianNs([&] { found += seen.look(sightings).size(); });
    const double perPlayer = double(Servers) * Players;
    std::printf("%d servers x %d players against %d friends (median of %d):\n", Servers, Players,
                SLOT_COUNT, Rounds);
    std::printf("  friendsAmong: %.1f ms, %.0f ns a player\n", matchNs / 1e6, matchNs / perPlayer);
    std::printf("  bare QSet lookup: %.1f ms, %.0f ns a player (ratio %.2f)\n", bareNs / 1e6,
                bareNs / perPlayer, matchNs / bareNs);
    std::printf("  FriendSightings::look: %.2f ms (%lld found)\n", lookNs / 1e6,
                static_cast<long long>(found));
    return 0;
}
