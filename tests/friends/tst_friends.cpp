#include "friends/FriendMatch.h"
#include "friends/FriendSightings.h"
#include "friends/FriendSweep.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/TableEdits.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StatusResponder.h"

#include <QSignalSpy>
#include <QTest>

namespace {

FriendTable friendTable(const QStringList& names) {
    FriendTable table;
    for (const QString& name : names)
        table.Name[addFriendEntry(table, quint32(table.Last + 2))] = name;
    return table;
}

ServerSighting sighting(const QString& server, const QStringList& friends) {
    ServerSighting s;
    s.serverKey = s.serverName = server;
    s.friends = friends;
    return s;
}

// The servers of a look as "server:friend,friend".
QStringList announced(const QList<ServerSighting>& servers) {
    QStringList texts;
    for (const ServerSighting& s : servers)
        texts << s.serverKey + u':' + s.friends.join(u',');
    return texts;
}

} // namespace

class TestFriends : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matching_data();
    void matching();
    void announcedOncePerStay();
    void storeKeepsWhatItDoesNotKnow();
    void checkInterval_data();
    void checkInterval();
    void backgroundSweepFindsFriends();
};

void TestFriends::matching_data() {
    QTest::addColumn<QStringList>("friends");
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("friendName");

    const QStringList list = {"Ann", "  Big Ren ", "Öskar", "", "   "};
    QTest::newRow("same") << list << "Ann"
                          << "Ann";
    QTest::newRow("case") << list << "aNN"
                          << "Ann";
    QTest::newRow("surrounding blanks") << list << "\tAnn  "
                                        << "Ann";
    QTest::newRow("listed with blanks") << list << "big ren"
                                        << "Big Ren";
    QTest::newRow("inner blanks count") << list << "Big  Ren" << QString();
    QTest::newRow("non-ASCII case") << list << "öSKAR"
                                    << "Öskar";
    QTest::newRow("part of a name") << list << "Anna" << QString();
    QTest::newRow("blank player, blank friends") << list << "  " << QString();
    QTest::newRow("empty list") << QStringList{} << "Ann" << QString();
}

void TestFriends::matching() {
    QFETCH(QStringList, friends);
    QFETCH(QString, player);
    QFETCH(QString, friendName);
    const FriendMatch match(friendTable(friends));
    QCOMPARE(match.friendNamed(player), friendName);
    QCOMPARE(match.isFriend(player), !friendName.isNull());
    // A server's list: counted players only, each friend once, in playing order.
    const QStringList players = {"x", player, "ANN", "ann", player};
    QStringList expected;
    if (!friendName.isNull())
        expected << friendName;
    if (friendName != "Ann" && match.isFriend(u"Ann"))
        expected << "Ann";
    QCOMPARE(match.friendsAmong(players, 4), expected);
    QCOMPARE(match.friendsAmong(players, 1), QStringList{});
}

// A friend is announced when first seen on a server and again only after a
// look that did not see them there; a server twice in one look counts once.
void TestFriends::announcedOncePerStay() {
    FriendSightings sightings;
    const QList<QPair<QList<ServerSighting>, QStringList>> looks = {
        {{sighting("a", {"Ann", "Bob"}), sighting("b", {"Ann"}), sighting("a", {"Cy"})},
         {"a:Ann,Bob", "b:Ann"}},
        {{sighting("a", {"ann", "Bob", "Cy"}), sighting("b", {"Ann"})}, {"a:Cy"}},
        {{sighting("a", {"Bob"}), sighting("b", {})}, {}},
        {{sighting("a", {"Ann", "Bob"}), sighting("b", {"Ann"})}, {"a:Ann", "b:Ann"}},
    };
    for (const auto& [look, expected] : looks)
        QCOMPARE(announced(sightings.look(look)), expected);
    QCOMPARE(serverKey(" Host.Example ", "2302", true), serverKey("host.example", "2302 ", true));
    QVERIFY(serverKey("h", "2302", true) != serverKey("h", "2302", false));
}

// A save writes a new friend under a fresh numbered key and deletes a
// removed one; what else the friends key holds stays.
void TestFriends::storeKeepsWhatItDoesNotKnow() {
    StoreFixture fixture;
    fixture.write(StoreText()
                      .key(StoreKeys::Launcher)
                      .key(StoreKeys::Friends, {{"note", quoted("mine")}})
                      .friendEntry(7, "Ann", {{"since", dword(1)}})
                      .friendEntry(8, "Bob"));
    FriendSettings loaded;
    QStringList notices;
    {
        SettingsStore store;
        loadFriends(store, loaded, notices);
    }
    QCOMPARE(loaded.table.Last, 1);
    QCOMPARE(loaded.table.Name[0], "Ann");
    QCOMPARE(loaded.CheckSeconds, FriendSettings::DefaultCheckSeconds);
    FriendSettings now = loaded;
    deleteFriendEntry(now.table, 1);
    const int added = addFriendEntry(now.table, 8);
    now.table.Name[added] = "Cy";
    {
        SettingsStore store;
        saveFriends(store, now, &loaded);
        store.commit();
    }
    const QByteArray file = fixture.read();
    QVERIFY(file.contains("\"note\"=\"mine\""));
    QVERIFY(file.contains("\"since\"=dword:00000001"));
    QVERIFY(!file.contains("Bob"));
    QVERIFY(!file.contains("friendcheck"));
    FriendSettings again;
    SettingsStore store;
    loadFriends(store, again, notices);
    QCOMPARE(again.table.Last, 1);
    QCOMPARE(again.table.Name[1], "Cy");
    QCOMPARE(again.table.Id[1], now.table.Id[added]);
    QVERIFY(notices.isEmpty());
}

void TestFriends::checkInterval_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("noticed");
    QTest::newRow("missing") << QByteArray() << 300 << false;
    QTest::newRow("off") << QByteArray("dword:00000000") << 0 << false;
    QTest::newRow("below the least") << QByteArray("dword:0000000a") << 30 << false;
    QTest::newRow("negative") << QByteArray("dword:ffffffff") << 0 << false;
    QTest::newRow("an hour") << QByteArray("dword:00000e10") << 3600 << false;
    QTest::newRow("text") << QByteArray("\"60\"") << 300 << true;
}

// A value of another kind is told and kept by the save that follows.
void TestFriends::checkInterval() {
    QFETCH(QByteArray, value);
    QFETCH(int, interval);
    QFETCH(bool, noticed);
    StoreFixture fixture;
    const QByteArray text = StoreText().key(StoreKeys::Launcher, {{"friendcheck", value}});
    fixture.write(text);
    FriendSettings friends;
    QStringList notices;
    SettingsStore store;
    loadFriends(store, friends, notices);
    QCOMPARE(friends.checkIntervalSeconds(), interval);
    QCOMPARE(notices.size(), noticed ? 1 : 0);
    if (noticed)
        QVERIFY2(notices[0].contains("friendcheck"), qPrintable(notices[0]));
    const FriendSettings stored = friends;
    saveFriends(store, friends, &stored);
    store.commit();
    QCOMPARE(fixture.read(), text);
}

// The background look asks every saved server from a port of its own and
// reports each with its friends; a silent server is reported without any.
void TestFriends::backgroundSweepFindsFriends() {
    StatusResponder responder;
    const quint16 full = responder.listen(
        0, {{"\\gametype\\Coop\\numplayers\\2\\maxplayers\\12\\player_0\\ANN\\player_1\\Zed\\"}});
    const quint16 silent = responder.listen(0, {});
    ServerTable servers;
    for (const quint16 port : {full, silent}) {
        const int slot = addServerEntry(servers, port);
        servers.Name[slot] = QString::number(port);
        servers.Host[slot] = "127.0.0.1";
        servers.Port[slot] = QString::number(port - 1);
        servers.Sockets[slot] = true;
    }
    FriendSweep sweep;
    QList<ServerSighting> seen;
    bool done = false;
    sweep.OnDone = [&](const QList<ServerSighting>& servers) { seen = servers, done = true; };
    sweep.start(servers, friendTable({"ann"}));
    QVERIFY(sweep.running());
    QTRY_VERIFY_WITH_TIMEOUT(done, FriendSweep::ReplyWaitMs * 2);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[0].friends, QStringList{"ann"});
    QCOMPARE(seen[0].players, "2/10");
    QCOMPARE(seen[0].mission, "Coop");
    QCOMPARE(seen[0].slot, 0);
    QCOMPARE(seen[1].friends, QStringList{});
}

QTEST_GUILESS_MAIN(TestFriends)
#include "tst_friends.moc"
