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
    void cleanupTestCase();
    void notifiesWhateverTheSoundMode();
    void chartKeepsOnePointPerPollForAnHour();

private:
    QProcess bus_;
    QString address_;
};

// A private session bus for the whole test.
void TestWatchNotifier::initTestCase() {
    bus_.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
    if (!bus_.waitForReadyRead(10000))
        QSKIP("dbus-daemon cannot be started here");
    address_ = QString::fromUtf8(bus_.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

void TestWatchNotifier::cleanupTestCase() {
    bus_.kill();
    bus_.waitForFinished();
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
    const quint16 port = responder.listen(0, {{reply("3", "14")}});
    resetSharedState();
    launcherSettings.SoundMode = 0;
    serverTable.Last = 0;
    serverTable.Name[0] = QStringLiteral("Friday");
    serverTable.Host[0] = QStringLiteral("127.0.0.1");
    serverTable.Port[0] = QString::number(port - 1);
    serverTable.Sockets[0] = true;
    TFormWatcher watcher;
    watcher.watch(serverTable.Host[0], serverTable.Port[0], true);
    QTRY_COMPARE(watcher.status->text(), QStringLiteral("Game in progress..."));
    responder.setScript(port, {{reply("0", "14")}});
    watcher.UpdateStatus();
    QTRY_COMPARE(watcher.status->text(), QStringLiteral("Empty"));
    responder.setScript(port, {{reply("2", "6")}});
    watcher.UpdateStatus();
    QTRY_COMPARE(recorder.received,
                 QStringList{"Friday|Setting up: players came to the empty server."});

    watcher.showMinimized();
    QVERIFY(service.send(QDBusMessage::createSignal(notificationsPath, notifications,
                                                    QStringLiteral("ActionInvoked"))
                         << uint(1) << QStringLiteral("default")));
    QTRY_VERIFY(!watcher.isMinimized());

    service.unregisterService(notifications);
    responder.setScript(port, {{reply("2", "14")}});
    watcher.UpdateStatus();
    QTRY_COMPARE(watcher.status->text(), QStringLiteral("Game in progress..."));
    responder.setScript(port, {{reply("2", "9")}});
    watcher.UpdateStatus();
    QTRY_COMPARE(watcher.status->text(), QStringLiteral("Debriefing"));
    QCOMPARE(recorder.received.size(), 1);
    QCOMPARE(watcher.findChild<PlayerChart*>()->points().size(), 5);
}

void TestWatchNotifier::chartKeepsOnePointPerPollForAnHour() {
    PlayerChart chart(nullptr);
    qint64 now = 0;
    chart.clock = [&now] { return now; };
    const auto poll = [&](qint64 at, const QStringList& replies) {
        now = at;
        chart.pollStarted();
        for (const QString& players : replies)
            chart.record(players);
    };
    poll(0, {"3", "4"}); // two datagrams of one poll
    poll(15000, {"?"});  // no count: no point
    poll(30000, {});     // no reply
    poll(PlayerChart::SpanMs + 10000, {"6"});
    QList<std::pair<qint64, int>> points;
    for (const PlayerChart::Point& p : chart.points())
        points << std::pair{p.ms, p.players};
    QCOMPARE(points, (QList<std::pair<qint64, int>>{{PlayerChart::SpanMs + 10000, 6}}));
    poll(PlayerChart::SpanMs + 20000, {"7"});
    QCOMPARE(chart.points().size(), 2);
}

QTEST_MAIN(TestWatchNotifier)
#include "tst_watch_notifier.moc"
