#include "watcher/WatchNotifier.h"

#include "query/WatcherReply.h"
#include "settings/Tables.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QWidget>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

WatchNotifier::WatchNotifier(QWidget* watcher) : QObject(watcher), watcher_(watcher) {}

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
    post(previous == EmptyServer ? status + QStringLiteral(": players came to the empty server.")
                                 : status + QStringLiteral(": the running game has ended."));
}

void WatchNotifier::joinedFreeSlot() {
    post(tr("A slot was free: the game was started."));
}

// The call does not wait for the service: a missing one answers with an
// error that is dropped.
void WatchNotifier::post(const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!listening_)
        listening_ = bus.connect(QString(), path, interface, QStringLiteral("ActionInvoked"), this,
                                 SLOT(actionInvoked(uint, QString)));
    QDBusMessage notify =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    notify << QStringLiteral("ZAM Launcher") << uint(0) << QStringLiteral("zam-launcher") << server_
           << body << QStringList{QStringLiteral("default"), QStringLiteral("Show")}
           << QVariantMap{} << qint32(-1);
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<uint> id = *call;
        if (id.isValid())
            posted_.insert(id.value());
        call->deleteLater();
    });
}

void WatchNotifier::actionInvoked(uint id, const QString& action) {
    if (action != QStringLiteral("default") || !posted_.contains(id) || watcher_->isHidden())
        return;
    watcher_->setWindowState(watcher_->windowState() & ~Qt::WindowMinimized);
    watcher_->raise();
    watcher_->activateWindow();
}
