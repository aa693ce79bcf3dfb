#include "query/ReplyRoutes.h"

#include <QRandomGenerator>
#include <QTest>
#include <map>
#include <set>

// The routes against a plain model: random routes and forgets over a few
// addresses and ports (so lists share an address:port, tables grow and
// entries are erased amid others' probe runs) must visit exactly the
// model's servers, in ascending order.
class TestReplyRoutes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchModelUnderRandomChanges_data() {
        QTest::addColumn<int>("servers");
        QTest::addColumn<int>("places");
        QTest::newRow("crowded") << 40 << 3;
        QTest::newRow("sparse") << 3000 << 2000;
    }
    void matchModelUnderRandomChanges() {
        QFETCH(int, servers);
        QFETCH(int, places);
        QRandomGenerator random(servers);
        ReplyRoutes routes;
        std::map<int, int> placeOf;             // server -> place
        std::map<int, std::set<int>> serversAt; // place -> servers
        const auto address = [](int place) { return quint32(0x7F000000 + place / 7); };
        const auto port = [](int place) { return quint16(2300 + place % 7); };
        for (int step = 0; step < 20 * servers; ++step) {
            const int server = random.bounded(servers);
            if (placeOf.count(server))
                serversAt[placeOf[server]].erase(server);
            if (random.bounded(4) == 0) {
                routes.forget(server);
                placeOf.erase(server);
            } else {
                const int place = random.bounded(places);
                routes.route(server, address(place), port(place));
                placeOf[server] = place;
                serversAt[place].insert(server);
            }
        }
        for (int place = 0; place < places; ++place) {
            std::vector<int> visited;
            routes.forEach(address(place), port(place), [&](int i) { visited.push_back(i); });
            const std::set<int>& expected = serversAt[place];
            QCOMPARE(visited, std::vector<int>(expected.begin(), expected.end()));
        }
    }
};

QTEST_APPLESS_MAIN(TestReplyRoutes)
#include "tst_reply_routes.moc"
