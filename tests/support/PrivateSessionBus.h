#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QProcess>
#include <QStringList>

// A notification service of the test's own: records "summary|body" of
// every notification posted.
class RecordingNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received;

public Q_SLOTS:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        received << summary + u'|' + body;
        return uint(received.size());
    }
};

// A session bus of the test's own (a dbus-daemon it starts), made this
// process's session bus, with the recorder as its notification service.
// start() must come before anything uses the session bus.
struct PrivateSessionBus {
    static inline const QString Notifications = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString NotificationsPath =
        QStringLiteral("/org/freedesktop/Notifications");

    ~PrivateSessionBus() {
        daemon.kill();
        daemon.waitForFinished();
    }

    // False when dbus-daemon cannot be started here.
    bool start() {
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (!daemon.waitForReadyRead(10000))
            return false;
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        return true;
    }

    // Serves recorder as the notification service, again after stopServing();
    // false when the bus refuses.
    bool serve() {
        if (!service.isConnected()) {
            service = QDBusConnection::connectToBus(address, QStringLiteral("service"));
            if (!service.registerObject(NotificationsPath, &recorder,
                                        QDBusConnection::ExportAllSlots))
                return false;
        }
        return service.registerService(Notifications);
    }
    void stopServing() { service.unregisterService(Notifications); }

    // The service reports that the user clicked notification id.
    bool click(uint id) {
        return service.send(QDBusMessage::createSignal(NotificationsPath, Notifications,
                                                       QStringLiteral("ActionInvoked"))
                            << id << QStringLiteral("default"));
    }

    QProcess daemon;
    QString address;
    QDBusConnection service{QString()};
    RecordingNotifications recorder;
};
