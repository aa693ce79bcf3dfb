#include "query/ServerFilter.h"

#include <QTest>

class TestServerFilter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowShown_data();
    void rowShown();
};

void TestServerFilter::rowShown_data() {
    QTest::addColumn<ServerFilter>("filter");
    QTest::addColumn<QString>("ping");
    QTest::addColumn<QString>("players");
    QTest::addColumn<bool>("shown");

    const ServerFilter empty{true, false, false, 0};
    const ServerFilter full{false, true, false, 0};
    const ServerFilter silent{false, false, true, 0};
    const ServerFilter ping100{false, false, false, 100};
    const ServerFilter all{true, true, true, 100};
    QTest::newRow("no filter, silent") << ServerFilter() << "??"
                                       << " " << true;
    QTest::newRow("empty hidden") << empty << "20"
                                  << "0/10" << false;
    QTest::newRow("empty: one player") << empty << "20"
                                       << "1/10" << true;
    QTest::newRow("empty: silent is not empty") << empty << "??"
                                                << " " << true;
    QTest::newRow("full hidden") << full << "20"
                                 << "12/12" << false;
    QTest::newRow("full: above the maximum") << full << "20"
                                             << "14/12" << false;
    QTest::newRow("full: a slot free") << full << "20"
                                       << "11/12" << true;
    QTest::newRow("full: maximum unknown") << full << "20"
                                           << "12/??" << true;
    QTest::newRow("silent hidden") << silent << "??"
                                   << " " << false;
    QTest::newRow("silent: answered") << silent << "0"
                                      << "0/8" << true;
    QTest::newRow("ping above the limit") << ping100 << "101"
                                          << "3/8" << false;
    QTest::newRow("ping at the limit") << ping100 << "100"
                                       << "3/8" << true;
    QTest::newRow("ping limit keeps silent") << ping100 << "??"
                                             << " " << true;
    QTest::newRow("all: open and near") << all << "35"
                                        << "3/8" << true;
    QTest::newRow("all: silent") << all << "??"
                                 << " " << false;
    QTest::newRow("all: far") << all << "350"
                              << "3/8" << false;
}

void TestServerFilter::rowShown() {
    QFETCH(ServerFilter, filter);
    QFETCH(QString, ping);
    QFETCH(QString, players);
    QFETCH(bool, shown);
    QCOMPARE(serverShown(filter, ping, players), shown);
}

QTEST_APPLESS_MAIN(TestServerFilter)
#include "tst_server_filter.moc"
