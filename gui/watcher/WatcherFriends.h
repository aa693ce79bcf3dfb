#pragma once

#include "friends/FriendSightings.h"

#include <QObject>

class QTimer;
class TFormWatcher;

// The watcher's part in finding friends: a while after each poll, the
// watched server's players as the watcher shows them go to FriendAlerts,
// named as saved when a saved server has that host, port and implementation.
class WatcherFriends : public QObject {
public:
    // Replies that take longer count as none.
    static constexpr int ReplyWaitMs = 1000;

    explicit WatcherFriends(TFormWatcher* watcher);

    void watching(const QString& host, const QString& port, bool sockets);
    void pollStarted();
    void stopped();

private:
    void pollEnded();

    TFormWatcher* watcher_;
    QTimer* wait_;
    ServerSighting server_;
};
