#include "query/ServerFind.h"
#include "query/ServerOrder.h"

#include <QTest>
#include <memory>

class TestServerOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sortsByColumn_data();
    void sortsByColumn();
    void findsByNameMissionOrPlayer();
};

void TestServerOrder::sortsByColumn_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("slots");

    const QStringList names = {"beta", "Alpha", "gamma", "alpha"};
    QTest::newRow("names ignore case, ties keep the table order")
        << names << int(NameColumn) << false << QList<int>{1, 3, 0, 2};
    QTest::newRow("names reversed") << names << int(NameColumn) << true << QList<int>{2, 0, 1, 3};
    const QStringList pings = {"??", "120", "9", "??", "35"};
    QTest::newRow("ping as a number, silent last")
        << pings << int(PingColumn) << false << QList<int>{2, 4, 1, 0, 3};
    QTest::newRow("ping reversed, silent still last")
        << pings << int(PingColumn) << true << QList<int>{1, 4, 2, 0, 3};
    QTest::newRow("players by the number before the slash")
        << QStringList{"3/10", " ", "12/14", "3/??", "0/8"} << int(PlayersColumn) << true
        << QList<int>{2, 0, 3, 4, 1};
}

void TestServerOrder::sortsByColumn() {
    QFETCH(QStringList, texts);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QList<int>, slots);
    QCOMPARE(sortedSlots(texts, ServerColumn(column),
                         descending ? Qt::DescendingOrder : Qt::AscendingOrder),
             slots);
}

void TestServerOrder::findsByNameMissionOrPlayer() {
    auto queries = std::make_unique<QueryTable>();
    queries->resetPlayers(0);
    queries->addPlayer(0, QLatin1StringView("Zed"));
    queries->resetPlayers(1); // "no players" is no player's name
    QVERIFY(serverMatches("FRI", "Friday night", "", *queries, 1));
    QVERIFY(serverMatches("coop", "x", "Winter Coop", *queries, 1));
    QVERIFY(serverMatches("ze", "x", "", *queries, 0));
    QVERIFY(!serverMatches("players", "x", "", *queries, 1));
    QVERIFY(!serverMatches("", "x", "", *queries, 0));
}

QTEST_GUILESS_MAIN(TestServerOrder)
#include "tst_server_order.moc"
