#pragma once

#include <QObject>

class DesktopNotifications;
class QWidget;
struct ServerTable;

// Posts a desktop notification through the notification service of the
// session bus when the watched server starts preparing a game after a
// running game or after being empty, whatever the sound mode. Clicking the
// notification brings the watcher forward while it still watches. Without a
// session bus or a notification service nothing is posted and nothing is
// reported.
class WatchNotifier : public QObject {
    Q_OBJECT
public:
    explicit WatchNotifier(QWidget* watcher);

    // The server being watched, named as saved when a saved server has that
    // host, port and implementation, else by host and game port.
    void watching(const ServerTable& servers, const QString& host, const QString& port,
                  bool sockets);
    // A reply changed the state from previous to state; status is the status
    // text the watcher now shows.
    void stateChanged(qint32 previous, qint32 state, const QString& status);
    // "Join when a slot is free" started the game.
    void joinedFreeSlot();

private:
    void post(const QString& body);
    void bringForward();

    QWidget* watcher_;
    QString server_;
    DesktopNotifications* notifications_;
};
