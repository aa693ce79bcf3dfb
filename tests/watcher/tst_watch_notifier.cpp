#include "support/SharedState.h"
#include "testkit/StatusResponder.h"
#include "watcher/PlayerChart.h"
#include "watcher/Unit6.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLabel>
#include <QProcess>
#include <QTest>

namespace {

const QString notifications = QStringLiteral("org.freedesktop.Notifications");
const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");

QByteArray reply(const char* players, const char* gstate) {
    return QByteArray("\\numplayers\\") + players + "\\maxplayers\\12\\gstate\\" + gstate + "\\";
}

} // namespace

// A notification service of the test's own: records summary and body.
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

class TestWatchNotifier : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { bus_.kill(), bus_.waitForFinished(); }
    void notifiesWhateverTheSoundMode();

private:
    QProcess bus_;
    QString address_;
};

void TestWatchNotifier::initTestCase() {
    bus_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    if (!bus_.waitForReadyRead(10000))
        QSKIP("dbus-daemon cannot be started here");
    address_ = QString::fromUtf8(bus_.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

// Alerts of the silent mode are posted, named by the saved server; the
// notification's click brings the watcher forward; without the service the
// watcher goes on as before.
void TestWatchNotifier::notifiesWhateverTheSoundMode() {
    QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("service"));
    RecordingNotifications recorder;
    QVERIFY(service.registerObject(notificationsPath, &recorder, QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(notifications));

    StatusResponder responder;
    const quint16 port = responder.listen(0, {});
    resetSharedState();
    launcherSettings.SoundMode = 0;
    serverTable.Last = 0;
    serverTable.Name[0] = QStringLiteral("Friday");
    serverTable.Host[0] = QStringLiteral("127.0.0.1");
    serverTable.Port[0] = QString::number(port - 1);
    serverTable.Sockets[0] = true;
    TFormWatcher watcher;
    PlayerChart* chart = watcher.findChild<PlayerChart*>();
    qint64 now = 0;
    chart->clock = [&now] { return now; };
    const auto poll = [&](const char* players, const char* gstate, const QString& status) {
        responder.setScript(port, {{reply(players, gstate)}});
        watcher.UpdateStatus();
        QTRY_COMPARE(watcher.status->text(), status);
    };
    watcher.watch(serverTable.Host[0], serverTable.Port[0], true);
    poll("3", "14", "Game in progress...");
    poll("0", "14", "Empty");
    poll("2", "6", "Setting up");
    QTRY_COMPARE(recorder.received,
                 QStringList{"Friday|Setting up: players came to the empty server."});

    watcher.showMinimized();
    QVERIFY(service.send(QDBusMessage::createSignal(notificationsPath, notifications,
                                                    QStringLiteral("ActionInvoked"))
                         << uint(1) << QStringLiteral("default")));
    QTRY_VERIFY(!watcher.isMinimized());

    service.unregisterService(notifications);
    poll("2", "14", "Game in progress...");
    poll("2", "9", "Debriefing");
    QCOMPARE(recorder.received.size(), 1);
    QCOMPARE(chart->points().size(), 5); // one point per poll that was answered
    now = PlayerChart::SpanMs + 1;       // those polls are over an hour old now
    poll("4", "14", "Game in progress...");
    QCOMPARE(chart->points().size(), 1);
    QCOMPARE(chart->points().last().players, 4);
}

QTEST_MAIN(TestWatchNotifier)
#include "tst_watch_notifier.moc"
