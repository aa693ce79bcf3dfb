#include "friends/FriendAlerts.h"

#include "windows/DesktopNotifications.h"

#include <QCoreApplication>

namespace {

// "Ann", "Ann and Bob", "Ann, Bob and Cy".
QString namesText(const QStringList& names) {
    if (names.size() < 2)
        return names.value(0);
    return FriendAlerts::tr("%1 and %2")
        .arg(names.mid(0, names.size() - 1).join(u", "), names.last());
}

QString playingText(const ServerSighting& server) {
    return server.friends.size() == 1
               ? FriendAlerts::tr("%1 is playing on %2").arg(server.friends[0], server.serverName)
               : FriendAlerts::tr("%1 are playing on %2")
                     .arg(namesText(server.friends), server.serverName);
}

QString serverText(const ServerSighting& server) {
    return FriendAlerts::tr("Players: %1\nMission: %2")
        .arg(server.players.isEmpty() ? QStringLiteral("?") : server.players,
             server.mission.isEmpty() ? QStringLiteral("-") : server.mission);
}

} // namespace

FriendAlerts& FriendAlerts::instance() {
    static FriendAlerts* hub = new FriendAlerts(QCoreApplication::instance());
    return *hub;
}

FriendAlerts::FriendAlerts(QObject* parent)
    : QObject(parent), notifications_(new DesktopNotifications(this)) {}

void FriendAlerts::look(const QList<ServerSighting>& servers) {
    const QList<ServerSighting> news = sightings_.look(servers);
    if (news.size() <= MaxNotificationsPerLook) {
        for (const ServerSighting& server : news)
            notify(playingText(server), serverText(server), server.slot);
        return;
    }
    QStringList lines;
    for (const ServerSighting& server : news.mid(0, MaxNotificationsPerLook))
        lines << playingText(server);
    const int more = int(news.size()) - MaxNotificationsPerLook;
    lines << (more == 1 ? tr("and on one more server") : tr("and on %1 more servers").arg(more));
    notify(tr("Friends are playing on %1 servers").arg(news.size()), lines.join(u'\n'),
           news[0].slot);
}

void FriendAlerts::notify(const QString& summary, const QString& body, int slot) {
    notifications_->post(summary, body, [this, slot] {
        if (OnOpen)
            OnOpen(slot);
    });
}
