#include "friends/FriendAlerts.h"
#include "friends/FriendCheck.h"
#include "friends/FriendSweep.h"
#include "support/LauncherWindows.h"
#include "support/PrivateSessionBus.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StatusResponder.h"
#include "watcher/WatcherFriends.h"

#include <QMenu>
#include <QPushButton>
#include <QStandardItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

QByteArray players(const QList<QByteArray>& names) {
    QByteArray reply =
        "\\gametype\\Coop\\numplayers\\" + QByteArray::number(names.size()) + "\\maxplayers\\12\\";
    for (int k = 0; k < names.size(); ++k)
        reply += "\\player_" + QByteArray::number(k) + '\\' + names[k];
    return reply + '\\';
}

const QString fridayWithAnn = "Ann is playing on Friday|Players: 2/10\nMission: Coop";

} // namespace

// Friends found by the browser, its player menu and the background check,
// announced on a session bus of the test's own.
class TestFriendAlerts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup() { windows.reset(); }
    void browserAnnouncesEachStayOnce();
    void backgroundCheckFoldsAFlood();
    void watcherPollAnnounces();
    void lateReplyIsMarked();

private:
    int addServer(const QString& name, const QList<QByteArray>& names) {
        const int slot = ++serverTable.Last;
        serverTable.Name[slot] = name;
        serverTable.Host[slot] = "127.0.0.1";
        serverTable.Port[slot] = QString::number(responder.listen(0, {{players(names)}}) - 1);
        serverTable.Sockets[slot] = true;
        return slot;
    }
    void sweep() {
        browser()->BitBtn2->click();
        QTRY_VERIFY(!browser()->sweeping());
    }
    TForm4* browser() { return windows->browser.get(); }
    template <typename Grid> bool bold(Grid* grid, int row) {
        return grid->item(row, 0)->font().bold();
    }

    PrivateSessionBus bus;
    const QStringList& received = bus.recorder.received;
    InstalledPrompts prompts;
    std::unique_ptr<StoreFixture> store;
    StatusResponder responder;
    std::unique_ptr<LauncherWindows> windows;
};

void TestFriendAlerts::initTestCase() {
    if (!bus.start() || !bus.serve())
        QSKIP("dbus-daemon cannot be started here");
}

void TestFriendAlerts::init() {
    store = std::make_unique<StoreFixture>();
    store->write(
        StoreText().launcher(store->existingFile(),
                             {{"nosplash", dword(0)}, {"window", dword(0)}, {"close", dword(0)}}));
    windows = std::make_unique<LauncherWindows>();
    LauncherState::instance().friends.table.Last = 0;
    LauncherState::instance().friends.table.Name[0] = "Ann";
    FriendAlerts::instance().announceFriendsChanged();
}

// The first sweep that sees a friend on a server announces them; the next
// sweeps do not, until one no longer sees them there. The server's name and
// the friend's player row are bold. The player menu adds a friend (and the
// store keeps them); clicking a notification shows that server.
void TestFriendAlerts::browserAnnouncesEachStayOnce() {
    const int friday = addServer("Friday", {"Ann", "Bob"});
    const int quiet = addServer("Quiet", {"Zed"});
    sweep();
    QTRY_COMPARE(received, QStringList{fridayWithAnn});
    QVERIFY(bold(browser()->SGrid, friday) && !bold(browser()->SGrid, quiet));
    QCOMPARE(browser()->SGrid->item(friday, 0)->toolTip(), "Friends here: Ann");

    sweep();
    const quint16 fridayPort = quint16(serverTable.Port[friday].toInt() + 1);
    responder.setScript(fridayPort, {{players({"Bob"})}});
    sweep();
    QVERIFY(!bold(browser()->SGrid, friday));
    responder.setScript(fridayPort, {{players({"Ann", "Bob"})}});
    sweep();
    QTRY_COMPARE(received, QStringList({fridayWithAnn, fridayWithAnn}));

    browser()->SGrid->selectRow(friday);
    QTableWidget* players = browser()->PlrGrid;
    QVERIFY(bold(players, 0) && !bold(players, 1));
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->actions().value(0)->text(), "Add to friends");
        menu->actions()[0]->trigger();
        menu->close();
    });
    Q_EMIT players->customContextMenuRequested(
        players->visualRect(players->model()->index(1, 0)).center());
    QVERIFY(bold(players, 1));
    QVERIFY(store->read().contains("\"name\"=\"Bob\""));

    browser()->SGrid->selectRow(quiet);
    browser()->hide();
    QVERIFY(bus.click(2));
    QTRY_VERIFY(browser()->isVisible());
    QCOMPARE(browser()->SGrid->currentRow(), friday);
}

// A look of the background check while the browser sweeps does not start;
// one that finds friends on more servers than a notification each posts one.
void TestFriendAlerts::backgroundCheckFoldsAFlood() {
    const qsizetype before = received.size();
    for (const char* name : {"One", "Two", "Three", "Four"})
        addServer(name, {"Zed", "ANN"});
    auto* check = windows->findChild<FriendCheck*>();
    QVERIFY(check && check->armed());
    QCOMPARE(check->intervalMs(), FriendSettings::DefaultCheckSeconds * 1000);
    auto* sweep = check->findChild<FriendSweep*>();
    browser()->BitBtn2->click();
    check->checkNow();
    QVERIFY(!sweep->running());
    QTRY_VERIFY(!browser()->sweeping());
    QTRY_COMPARE(received.size(), before + 1);

    check->checkNow();
    QVERIFY(sweep->running());
    QTRY_VERIFY_WITH_TIMEOUT(!sweep->running(), FriendSweep::ReplyWaitMs * 2);
    QCOMPARE(received.size(), before + 1); // the browser's sweep announced them already
    LauncherState::instance().friends.table.Name[0] = "Zed";
    FriendAlerts::instance().announceFriendsChanged();
    check->checkNow();
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), before + 2, FriendSweep::ReplyWaitMs * 2);
    QCOMPARE(received.last(), "Friends are playing on 4 servers|Zed is playing on One\n"
                              "Zed is playing on Two\nZed is playing on Three\n"
                              "and on one more server");

    LauncherState::instance().friends.CheckSeconds = 0;
    FriendAlerts::instance().announceFriendsChanged();
    QVERIFY(!check->armed());
}

// The watcher's poll counts as a look at the watched server.
void TestFriendAlerts::watcherPollAnnounces() {
    const qsizetype before = received.size();
    const int slot = addServer("Watched", {"Bob", "ann"});
    TFormWatcher* watcher = windows->watcher.get();
    watcher->watch(serverTable.Host[slot], serverTable.Port[slot], true);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), before + 1, WatcherFriends::ReplyWaitMs * 3);
    QCOMPARE(received.last(), "Ann is playing on Watched|Players: 2/10\nMission: Coop");
    watcher->UpdateStatus();
    QTest::qWait(WatcherFriends::ReplyWaitMs * 3 / 2);
    QCOMPARE(received.size(), before + 1);
}

// A reply that comes after its sweep ended marks its server all the same.
void TestFriendAlerts::lateReplyIsMarked() {
    const int slow = addServer("Slow", {"Ann"});
    responder.setScript(quint16(serverTable.Port[slow].toInt() + 1), {{players({"Ann"})}, 800});
    sweep();
    QVERIFY(!bold(browser()->SGrid, slow));
    QTRY_VERIFY(bold(browser()->SGrid, slow));
}

QTEST_MAIN(TestFriendAlerts)
#include "tst_friend_alerts.moc"
