#pragma once

#include "friends/FriendSightings.h"

#include <QObject>
#include <functional>

class DesktopNotifications;

// Where the launcher's looks for friends meet: every browser sweep, the
// watcher's polls and the background check hand what they saw to look(),
// which posts a desktop notification for each server with a friend not seen
// there before ("NAME is playing on SERVER", players and mission below).
// Clicking one opens the browser with that server selected. Edits of the
// friends list are announced through friendsChanged().
class FriendAlerts : public QObject {
    Q_OBJECT
public:
    // More servers with new friends than this in one look share one
    // notification, so a flood of friends never floods the desktop.
    static constexpr int MaxNotificationsPerLook = 3;

    // The application's one hub, made on first use.
    static FriendAlerts& instance();

    void look(const QList<ServerSighting>& servers);

    // Opens the browser with the saved server in slot selected (-1: none).
    std::function<void(int slot)> OnOpen;

    // Whether the browser sweeps: the background check waits for it.
    std::function<bool()> BrowserSweeping;
    bool browserSweeping() const { return BrowserSweeping && BrowserSweeping(); }

    // Tells everyone that shows or uses the friends list that it changed.
    void announceFriendsChanged() { Q_EMIT friendsChanged(); }

Q_SIGNALS:
    void friendsChanged();
    // Emitted by the browser when a sweep of its starts.
    void browserSweepStarted();

private:
    explicit FriendAlerts(QObject* parent);
    void notify(const QString& summary, const QString& body, int slot);

    FriendSightings sightings_;
    DesktopNotifications* notifications_;
};
