#include "support/PrivateSessionBus.h"
#include "support/SharedState.h"
#include "testkit/StatusResponder.h"
#include "watcher/FreeSlotJoin.h"
#include "watcher/PlayerChart.h"
#include "watcher/Unit6.h"

#include <QLabel>
#include <QTest>

namespace {

QByteArray reply(const char* players, const char* gstate) {
    return QByteArray("\\numplayers\\") + players + "\\maxplayers\\12\\gstate\\" + gstate + "\\";
}

} // namespace

class TestWatchNotifier : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void notifiesWhateverTheSoundMode();
    void freeSlotJoinIsAnnouncedWhenStarted_data();
    void freeSlotJoinIsAnnouncedWhenStarted();

private:
    PrivateSessionBus bus_;
};

void TestWatchNotifier::initTestCase() {
    if (!bus_.start())
        QSKIP("dbus-daemon cannot be started here");
}

// Alerts of the silent mode are posted, named by the saved server; the
// notification's click brings the watcher forward; without the service the
// watcher goes on as before.
void TestWatchNotifier::notifiesWhateverTheSoundMode() {
    QVERIFY(bus_.serve());
    const QStringList& received = bus_.recorder.received;

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
    QTRY_COMPARE(received, QStringList{"Friday|Setting up: players came to the empty server."});

    watcher.showMinimized();
    QVERIFY(bus_.click(1));
    QTRY_VERIFY(!watcher.isMinimized());

    bus_.stopServing();
    poll("2", "14", "Game in progress...");
    poll("2", "9", "Debriefing");
    QCOMPARE(received.size(), 1);
    QCOMPARE(chart->points().size(), 5); // one point per poll that was answered
    now = PlayerChart::SpanMs + 1;       // those polls are over an hour old now
    poll("4", "14", "Game in progress...");
    QCOMPARE(chart->points().size(), 1);
    QCOMPARE(chart->points().last().players, 4);
}

void TestWatchNotifier::freeSlotJoinIsAnnouncedWhenStarted_data() {
    QTest::addColumn<bool>("started");
    QTest::newRow("started") << true;
    QTest::newRow("start failed") << false;
}

// "Join when a slot is free" says it started the game only when it did.
void TestWatchNotifier::freeSlotJoinIsAnnouncedWhenStarted() {
    QFETCH(bool, started);
    QVERIFY(bus_.serve());
    QStringList& received = bus_.recorder.received;
    received.clear();

    StatusResponder responder;
    const quint16 port = responder.listen(0, {});
    resetSharedState();
    TFormWatcher watcher;
    int joins = 0;
    watcher.OnJoin = [&] { return ++joins, started; };
    watcher.watch(QStringLiteral("127.0.0.1"), QString::number(port - 1), true);
    watcher.show();
    responder.setScript(port, {{reply("10", "14")}});
    watcher.UpdateStatus();
    QTRY_VERIFY(watcher.JoinWhenFree->isEnabled());
    watcher.JoinWhenFree->click();
    responder.setScript(port, {{reply("9", "14")}});
    watcher.UpdateStatus();
    QTRY_COMPARE(joins, 1);
    QTest::qWait(200); // a notification would be on the bus by now
    QCOMPARE(received.filter("A slot was free").size(), started ? 1 : 0);
    bus_.stopServing();
}

QTEST_MAIN(TestWatchNotifier)
#include "tst_watch_notifier.moc"
