#include "watcher/WatchNotifier.h"

#include "query/WatcherReply.h"
#include "settings/Tables.h"
#include "windows/DesktopNotifications.h"

#include <QWidget>

WatchNotifier::WatchNotifier(QWidget* watcher)
    : QObject(watcher), watcher_(watcher), notifications_(new DesktopNotifications(this)) {}

void WatchNotifier::watching(const ServerTable& servers, const QString& host, const QString& port,
                             bool sockets) {
    server_ = host + u':' + port;
    for (int slot = 0; slot <= servers.Last; ++slot)
        if (servers.Host[slot] == host && servers.Port[slot] == port &&
            servers.Sockets[slot] == sockets && !servers.Name[slot].isEmpty()) {
            server_ = servers.Name[slot];
            return;
        }
}

void WatchNotifier::stateChanged(qint32 previous, qint32 state, const QString& status) {
    if (!isAlertTransition(previous, state))
        return;
    post(previous == EmptyServer ? status + tr(": players came to the empty server.")
                                 : status + tr(": the running game has ended."));
}

void WatchNotifier::joinedFreeSlot() {
    post(tr("A slot was free: the game was started."));
}

void WatchNotifier::post(const QString& body) {
    notifications_->post(server_, body, [this] { bringForward(); });
}

void WatchNotifier::bringForward() {
    if (watcher_->isHidden())
        return;
    watcher_->setWindowState(watcher_->windowState() & ~Qt::WindowMinimized);
    watcher_->raise();
    watcher_->activateWindow();
}
