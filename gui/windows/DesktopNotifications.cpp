#include "windows/DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DesktopNotifications::DesktopNotifications(QObject* parent) : QObject(parent) {}

// A missing service answers with an error that is dropped.
void DesktopNotifications::post(const QString& summary, const QString& body,
                                std::function<void()> clicked) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!listening_)
        listening_ = bus.connect(QString(), path, interface, QStringLiteral("ActionInvoked"), this,
                                 SLOT(actionInvoked(uint, QString)));
    QDBusMessage notify =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    notify << QStringLiteral("ZAM Launcher") << uint(0) << QStringLiteral("zam-launcher") << summary
           << body << QStringList{QStringLiteral("default"), tr("Show")} << QVariantMap{}
           << qint32(-1);
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(notify), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, clicked = std::move(clicked)](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<uint> id = *call;
                if (id.isValid() && !clicks_.contains(id.value())) {
                    clicks_.insert(id.value(), clicked);
                    order_ << id.value();
                    if (order_.size() > RememberedClicks)
                        clicks_.remove(order_.takeFirst());
                }
                call->deleteLater();
            });
}

void DesktopNotifications::actionInvoked(uint id, const QString& action) {
    const auto click = clicks_.constFind(id);
    if (action == QStringLiteral("default") && click != clicks_.cend() && *click)
        (*click)();
}
