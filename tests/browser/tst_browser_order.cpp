#include "browser/FindBar.h"
#include "browser/ServerGrid.h"
#include "browser/Unit4.h"
#include "query/ServerOrder.h"
#include "support/SharedState.h"
#include "testkit/StatusResponder.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStandardItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

void clickHeader(ServerGrid* grid, int column) {
    QHeaderView* header = grid->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      {header->sectionViewportPosition(column) + 4, header->height() / 2});
}

} // namespace

class TestBrowserOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sortsByColumn_data();
    void sortsByColumn();
    void sortFindAndMenuFollowTheServer();
};

void TestBrowserOrder::sortsByColumn_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QList<int>>("slots");

    const QStringList names = {"beta", "Alpha", "gamma", "alpha"};
    QTest::newRow("names ignore case, ties keep the table order")
        << names << int(NameColumn) << false << QList<int>{1, 3, 0, 2};
    QTest::newRow("names reversed") << names << int(NameColumn) << true << QList<int>{2, 0, 1, 3};
    QTest::newRow("digits in names compare as numbers")
        << QStringList{"Server 10", "server 2", "Server 1b", "Server 1a"} << int(NameColumn)
        << false << QList<int>{3, 2, 1, 0};
    QTest::newRow("addresses by their numbers")
        << QStringList{"10.0.0.10:2302", "10.0.0.9:2402", "10.0.0.9:2302"} << int(HostColumn)
        << false << QList<int>{2, 1, 0};
    const QStringList pings = {"??", "120", "9", "??", "35"};
    QTest::newRow("ping as a number, silent last")
        << pings << int(PingColumn) << false << QList<int>{2, 4, 1, 0, 3};
    QTest::newRow("ping reversed, silent still last")
        << pings << int(PingColumn) << true << QList<int>{1, 4, 2, 0, 3};
    QTest::newRow("players by the number before the slash")
        << QStringList{"3/10", " ", "12/14", "3/??", "0/8"} << int(PlayersColumn) << true
        << QList<int>{2, 0, 3, 4, 1};
}

void TestBrowserOrder::sortsByColumn() {
    QFETCH(QStringList, texts);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QList<int>, slots);
    QCOMPARE(sortedSlots(texts, ServerColumn(column),
                         descending ? Qt::DescendingOrder : Qt::AscendingOrder),
             slots);
}

void TestBrowserOrder::sortFindAndMenuFollowTheServer() {
    resetSharedState();
    StatusResponder responder;
    for (const char* name : {"gamma", "Alpha", "beta"}) { // gamma never answers
        const int slot = ++serverTable.Last;
        const QByteArray players = slot == 1 ? "12\\player_0\\Ann\\" : "3\\player_0\\Bob\\";
        const quint16 port = responder.listen(
            0, {slot ? QList<QByteArray>{"\\maxplayers\\16\\numplayers\\" + players}
                     : QList<QByteArray>{}});
        serverTable.Name[slot] = name;
        serverTable.Host[slot] = QStringLiteral("127.0.0.1");
        serverTable.Port[slot] = QString::number(port - 1);
        serverTable.Sockets[slot] = true;
    }
    TForm4 browser;
    int joined = -1;
    browser.OnJoin = [&joined](const QString&, qint32 slot) { joined = slot; };
    browser.show();
    ServerGrid* grid = browser.SGrid;
    const auto sweepDone = [&] {
        return browser.BitBtn2->isEnabled() && grid->rowCount() == 3 && grid->item(1, 3) &&
               grid->item(1, 3)->text() == "12/14";
    };
    QTRY_VERIFY(sweepDone());

    clickHeader(grid, PlayersColumn);
    QCOMPARE(grid->shownSlots(), QList<int>({2, 1, 0})); // the silent server last
    clickHeader(grid, PlayersColumn);
    QCOMPARE(grid->shownSlots(), QList<int>({1, 2, 0}));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->indexOf(1)).center());
    browser.BitBtn1->click();
    QCOMPARE(joined, 1);
    QCOMPARE(browser.PlrGrid->item(0, 0)->text(), QStringLiteral("Ann"));
    browser.BitBtn2->click();
    QTRY_VERIFY(sweepDone());
    QCOMPARE(grid->shownSlots(), QList<int>({1, 2, 0}));
    QCOMPARE(grid->currentRow(), 1);

    QTest::keyClick(&browser, Qt::Key_F, Qt::ControlModifier);
    auto* find = browser.findChild<FindBar*>();
    QTest::keyClicks(find, "BOB");
    QVERIFY(grid->item(2, 0)->data(Qt::BackgroundRole).isValid());
    QVERIFY(grid->item(1, 0)->data(Qt::ForegroundRole).isValid());
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(grid->currentRow(), 2);
    QTest::keyClick(find, Qt::Key_Escape);
    QVERIFY(!grid->item(1, 0)->data(Qt::ForegroundRole).isValid());

    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        menu->actions().last()->trigger();
        menu->close();
    });
    Q_EMIT grid->customContextMenuRequested(grid->visualRect(grid->indexOf(0)).center());
    QCOMPARE(QApplication::clipboard()->text(), "127.0.0.1:" + serverTable.Port[0]);
    QCOMPARE(grid->currentRow(), 0);
}

QTEST_MAIN(TestBrowserOrder)
#include "tst_browser_order.moc"
