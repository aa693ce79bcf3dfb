#include "watcher/WatcherFriends.h"

#include "friends/FriendAlerts.h"
#include "friends/FriendMatch.h"
#include "state/LauncherState.h"
#include "watcher/Unit6.h"

#include <QLabel>
#include <QTableWidget>
#include <QTimer>

WatcherFriends::WatcherFriends(TFormWatcher* watcher)
    : QObject(watcher), watcher_(watcher), wait_(new QTimer(this)) {
    wait_->setSingleShot(true);
    wait_->setInterval(ReplyWaitMs);
    connect(wait_, &QTimer::timeout, this, &WatcherFriends::pollEnded);
}

void WatcherFriends::watching(const QString& host, const QString& port, bool sockets) {
    server_ = ServerSighting();
    server_.serverKey = serverKey(host, port, sockets);
    server_.serverName = host + u':' + port;
    const ServerTable& servers = LauncherState::instance().servers;
    for (int slot = 0; slot <= servers.Last; ++slot)
        if (serverKey(servers.Host[slot], servers.Port[slot], servers.Sockets[slot]) ==
            server_.serverKey) {
            server_.slot = slot;
            if (!servers.Name[slot].trimmed().isEmpty())
                server_.serverName = servers.Name[slot];
            break;
        }
}

void WatcherFriends::pollStarted() {
    if (LauncherState::instance().friends.table.Last >= 0)
        wait_->start();
}

void WatcherFriends::stopped() {
    wait_->stop();
}

void WatcherFriends::pollEnded() {
    const FriendMatch match(LauncherState::instance().friends.table);
    const QTableWidget* list = watcher_->playerList;
    QStringList names;
    for (int row = 0; row < list->rowCount(); ++row)
        if (const QTableWidgetItem* item = list->item(row, 0))
            names << item->text();
    ServerSighting seen = server_;
    seen.friends = match.friendsAmong(names, names.size());
    seen.players = watcher_->players->text();
    seen.mission = watcher_->mission->text();
    FriendAlerts::instance().look({seen});
}
