#include "browser/BrowserRefresh.h"
#include "browser/FilterBar.h"
#include "browser/ServerGrid.h"
#include "browser/StatusBarPanel.h"
#include "query/QueryTable.h"
#include "query/ReplyAccounting.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"
#include "settings/Tables.h"
#include "support/LauncherWindows.h"
#include "support/RecordingProcessStarter.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/SlowNameService.h"
#include "testkit/StatusResponder.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPaintEvent>
#include <QPushButton>
#include <QStandardItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray twoPlayers = "\\gametype\\Coop\\numplayers\\2\\maxplayers\\12\\player_0\\Ann\\"
                              "score_0\\1\\player_1\\Bob\\score_1\\2\\";

// Error reports that also note the browser's status text at that moment.
class StatusNotingPrompts : public ScriptedPrompts {
public:
    void error(QWidget* parent, const QString& text) override {
        ScriptedPrompts::error(parent, text);
        statusAtError << (Form4 ? Form4->StatusPanel->text() : QString());
    }
    QStringList statusAtError;
};

// Calls back for every event of one kind that reaches an object.
class EventWatch : public QObject {
public:
    EventWatch(QObject* target, QEvent::Type type, std::function<void(QEvent*)> seen)
        : type_(type), seen_(std::move(seen)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_)
            seen_(event);
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void(QEvent*)> seen_;
};

// The launcher's windows on a store with an existing executable and more
// launcher values, servers answered by an in-process responder on
// 127.0.0.1, and scripted ticks.
struct Browser {
    explicit Browser(const QList<StoreValue>& values = {}) {
        auto owned = std::make_unique<StatusNotingPrompts>();
        prompts = owned.get();
        Prompts::install(std::move(owned));
        store.write(StoreText()
                        .launcher(store.existingFile(), QList<StoreValue>{{"nosplash", dword(0)},
                                                                          {"window", dword(0)},
                                                                          {"close", dword(0)}} +
                                                            values)
                        .playerName("Bob"));
        TickSource::install([this] { return tick; });
        windows = std::make_unique<LauncherWindows>();
        window = windows->browser.get();
    }
    ~Browser() {
        windows.reset();
        TickSource::install({});
        HostNameService::install(nullptr);
    }

    // A responder port with script; returns the game port text that queries it.
    quint16 respond(const ResponderScript& script) { return responder.listen(0, script); }

    int addServer(const QString& name, const QString& host, const QString& port,
                  bool sockets = true) {
        const int slot = ++serverTable.Last;
        serverTable.Name[slot] = name;
        serverTable.Host[slot] = host;
        serverTable.Port[slot] = port;
        serverTable.Sockets[slot] = sockets;
        return slot;
    }
    // A Sockets server on 127.0.0.1 whose query port answers with script.
    int addAnswering(const QString& name, const ResponderScript& script) {
        return addServer(name, "127.0.0.1", QString::number(respond(script) - 1));
    }

    QString cell(int row, int column) const {
        const QStandardItem* item = window->SGrid->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList playerRows() const {
        QStringList rows;
        for (int row = 0; row < window->PlrGrid->rowCount(); ++row)
            rows << window->PlrGrid->item(row, 0)->text() + u'|' +
                        window->PlrGrid->item(row, 1)->text();
        return rows;
    }
    QString status() const { return window->StatusPanel->text(); }

    StoreFixture store;
    StatusNotingPrompts* prompts;
    InstalledProcessStarter starter;
    StatusResponder responder;
    quint32 tick = 1000;
    std::unique_ptr<LauncherWindows> windows;
    TForm4* window;
};

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        serverTable = ServerTable();
        queryTable = QueryTable();
    }
    void startsFromTheMainWindow();
    void fullSweep();
    void pingFromDelayedReply_data();
    void pingFromDelayedReply();
    void sharedServerAndPaddedPort();
    void namesLookedUpAtOnce_data();
    void namesLookedUpAtOnce();
    void refreshNeverNestsSweeps();
    void rowsPaintWhileLookupsWait();
    void playerGrid_data();
    void playerGrid();
    void join_data();
    void join();
    void watcherHandOver_data();
    void watcherHandOver();
    void filtersHideRowsForEveryReader_data();
    void filtersHideRowsForEveryReader();
};

void TestBrowserWindow::startsFromTheMainWindow() {
    Browser b;
    QCOMPARE(b.window->PlayerName->currentText(), QString("Bob"));
    QCOMPARE(b.window->udps->LocalPort(), 15015);
    QCOMPARE(b.status(), QString("Ready"));
    b.addAnswering("Alpha", {{twoPlayers}});

    b.windows->main->show();
    b.windows->main->BitBtn5->click();
    QVERIFY(b.window->isVisible());
    // The activation queries 500 ms later; "Refresh" comes back 500 ms after the sweep.
    QTRY_COMPARE(b.cell(0, 3), QString("2/10"));
    QCOMPARE(b.cell(0, 4), QString("Coop"));
    QTRY_VERIFY(b.window->BitBtn2->isEnabled());
    QCOMPARE(b.playerRows(), (QStringList{"Ann|1", "Bob|2"}));
}

void TestBrowserWindow::fullSweep() {
    Browser b;
    const int named = b.addServer("Named", "localhost", QString());
    serverTable.Port[named] = QString::number(b.respond({{twoPlayers}}) - 1);
    b.addAnswering("Alpha", {{"\\numplayers\\0\\maxplayers\\8\\gametype\\DM\\"}});
    b.addAnswering("Quiet", {});
    b.addServer("Broken", "127.0.0.1", "23x0");
    b.addServer("Never", "127.0.0.1", "2302");
    queryTable.PlayerCount[3] = 4; // from an earlier sweep

    b.window->show();
    b.window->FormActivate();
    QTRY_COMPARE(b.prompts->errors, QStringList{"'23x0' is not a valid integer value"});
    QCOMPARE(b.prompts->statusAtError, QStringList{"Querying servers..."});
    QCOMPARE(b.window->SGrid->rowCount(), 5);
    QCOMPARE(b.cell(3, 0), QString("Broken"));
    QCOMPARE(b.cell(3, 1), QString("127.0.0.1:23x0"));
    QCOMPARE(b.cell(4, 0), QString());
    QCOMPARE(queryTable.playerName(3, 0), QString("no response from server"));
    QCOMPARE(queryTable.PlayerCount[3], 4);

    QTRY_COMPARE(b.cell(0, 3), QString("2/10"));
    QCOMPARE(b.cell(0, 1), "localhost:" + serverTable.Port[0]);
    QCOMPARE(queryTable.ResolvedIp[0], QString("127.0.0.1"));
    QTRY_COMPARE(b.cell(1, 3), QString("0/6"));
    QCOMPARE(b.cell(1, 4), QString("DM"));
    QCOMPARE(b.cell(2, 2), QString("??"));
    QCOMPARE(b.cell(2, 3), QString(" "));
    QCOMPARE(b.cell(2, 4), QString(" "));
    QCOMPARE(b.cell(3, 2), QString("??"));
    // The stopped sweep never starts Timer1: "Refresh" stays off.
    QVERIFY(!b.window->Timer1->isActive());
    QVERIFY(!b.window->BitBtn2->isEnabled());
}

void TestBrowserWindow::pingFromDelayedReply_data() {
    QTest::addColumn<quint32>("sendTick");
    QTest::addColumn<quint32>("replyTick");
    QTest::addColumn<QString>("ping");
    QTest::newRow("50 ms") << 1000u << 1050u << "50";
    QTest::newRow("across the tick wrap") << 0xFFFFFFF0u << 0x20u << "48";
}

void TestBrowserWindow::pingFromDelayedReply() {
    QFETCH(quint32, sendTick);
    QFETCH(quint32, replyTick);
    QFETCH(QString, ping);

    Browser b;
    b.addAnswering("Late", {{"\\numplayers\\1\\"}, 50});
    b.tick = sendTick;
    b.window->BitBtn2->click(); // a sweep to dotted hosts runs no events
    QCOMPARE(b.status(), QString("Query done..."));
    QCOMPARE(b.cell(0, 2), QString("??"));
    b.tick = replyTick;
    QTRY_COMPARE(b.cell(0, 2), ping);
}

void TestBrowserWindow::sharedServerAndPaddedPort() {
    Browser b;
    const quint16 port = b.respond({{"\\numplayers\\1\\player_0\\Ann\\"}});
    const QString game = QString::number(port - 1);
    b.addServer("First", "127.0.0.1", game);
    b.addServer("Second", "127.0.0.1", game);
    b.addServer("Padded", "127.0.0.1", "0" + game);
    b.window->BitBtn2->click();

    // Three queries reach the one port; every reply belongs to both entries
    // with the plain port (the second one's count depends on whether a reply
    // came before the sweep reached it), none to the padded one.
    QTRY_COMPARE(queryTable.PlayerCount[0], 3);
    QCOMPARE(b.responder.requestCount(port), 3);
    QVERIFY(queryTable.PlayerCount[1] >= 2);
    QCOMPARE(b.cell(0, 3), QString("1/??"));
    QCOMPARE(b.cell(1, 3), QString("1/??"));
    QCOMPARE(queryTable.PlayerCount[2], 0);
    QCOMPARE(b.cell(2, 2), QString("??"));
    QCOMPARE(b.cell(2, 1), "127.0.0.1:0" + game);
}

void TestBrowserWindow::namesLookedUpAtOnce_data() {
    QTest::addColumn<QStringList>("hosts");
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("distinct names")
        << QStringList{"a.test", "b.test", "c.test"} << QStringList{"a.test", "b.test", "c.test"};
    QTest::newRow("a name shared, a dotted address")
        << QStringList{"a.test", "127.0.0.1", "b.test", "a.test"}
        << QStringList{"a.test", "b.test"};
}

// Every distinct name is looked up once, all at the start of the sweep, and
// a ping counts from the send: the lookup's 300 ms are not in it.
void TestBrowserWindow::namesLookedUpAtOnce() {
    QFETCH(QStringList, hosts);
    QFETCH(QStringList, asked);

    Browser b;
    TickSource::install({});
    SlowNameService* names = SlowNameService::install(300);
    for (const QString& host : hosts)
        b.addServer(host, host, QString::number(b.respond({{"\\numplayers\\1\\"}}) - 1));
    b.window->BitBtn2->click();
    QCOMPARE(names->asked, asked);
    QCOMPARE(names->mostRunning, int(asked.size()));
    for (int row = 0; row < hosts.size(); ++row) {
        QTRY_VERIFY(b.cell(row, 2) != "??");
        QVERIFY2(b.cell(row, 2).toInt() < 300, qPrintable(b.cell(row, 2)));
    }
}

// A queued sweep follows the first while its Timer1 runs, and its lookup
// outlasts that timer: "Refresh" must stay off until the second sweep's end.
void TestBrowserWindow::refreshNeverNestsSweeps() {
    Browser b;
    SlowNameService* names = SlowNameService::install(700);
    b.addServer("Named", "slow.test", "2302");
    QStringList enabledWhile;
    EventWatch watch(b.window->BitBtn2, QEvent::EnabledChange, [&](QEvent*) {
        if (b.window->BitBtn2->isEnabled() && names->running > 0) {
            enabledWhile << "looking up";
            b.window->BitBtn2->click(); // would start a sweep inside the sweep
        }
    });
    b.window->show();
    b.window->FormActivate(); // its sweep comes 500 ms later, while the next one waits
    b.window->BitBtn2->click();
    QCOMPARE(names->asked.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(names->asked.size(), 2, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(b.window->BitBtn2->isEnabled(), 3000);
    QCOMPARE(enabledWhile, QStringList());
    QCOMPARE(names->asked.size(), 2);
    QCOMPARE(names->mostRunning, 1);
}

// While the sweep waits for the last server's lookup, the rows before it
// show their "??" and their replies.
void TestBrowserWindow::rowsPaintWhileLookupsWait() {
    Browser b;
    SlowNameService* names = SlowNameService::install(0);
    const int quiet = b.addAnswering("Quiet", {{"\\numplayers\\1\\maxplayers\\6\\"}});
    b.addAnswering("Answering", {{"\\numplayers\\2\\maxplayers\\6\\"}});
    b.addServer("Named", "slow.test", "2302");
    b.window->show();
    b.window->BitBtn2->click();
    QTRY_COMPARE(b.cell(1, 3), QString("2/4"));
    QTRY_VERIFY(b.window->BitBtn2->isEnabled());
    QCOMPARE(b.cell(0, 3), QString("1/4"));

    b.responder.setScript(quint16(serverTable.Port[quiet].toInt() + 1), {});
    names->setDelay(400);
    QStringList painted;
    EventWatch watch(b.window->SGrid->viewport(), QEvent::Paint, [&](QEvent* event) {
        const QRegion region = static_cast<QPaintEvent*>(event)->region();
        for (int row : {0, 1})
            if (names->running > 0 &&
                region.intersects(b.window->SGrid->visualItemRect(b.window->SGrid->item(row, 3))))
                painted << QString::number(row) + u':' + b.cell(row, 3).trimmed();
    });
    b.window->BitBtn2->click();
    QVERIFY2(painted.contains("0:"), qPrintable(painted.join(' ')));
    QVERIFY2(painted.contains("1:2/4"), qPrintable(painted.join(' ')));
}

void TestBrowserWindow::playerGrid_data() {
    QTest::addColumn<QList<QByteArray>>("earlier");
    QTest::addColumn<QList<QByteArray>>("reply");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("two players") << QList<QByteArray>{} << QList<QByteArray>{twoPlayers}
                                 << QStringList{"Ann|1", "Bob|2"};
    QTest::newRow("split over two datagrams")
        << QList<QByteArray>{}
        << QList<QByteArray>{"\\numplayers\\3\\player_0\\Ann\\score_0\\1\\",
                             "\\player_1\\Cy\\score_1\\4\\player_2\\Dee\\score_2\\0\\final\\"}
        << QStringList{"Ann|1", "Cy|4", "Dee|0"};
    QTest::newRow("empty server") << QList<QByteArray>{} << QList<QByteArray>{"\\numplayers\\0\\"}
                                  << QStringList{"no players|"};
    QTest::newRow("silent server")
        << QList<QByteArray>{} << QList<QByteArray>{} << QStringList{"no players|"};
    QTest::newRow("scores stay from an earlier sweep")
        << QList<QByteArray>{twoPlayers}
        << QList<QByteArray>{"\\player_0\\Cy\\player_1\\Dee\\score_1\\9\\"}
        << QStringList{"Cy|1", "Dee|9"};
    QTest::newRow("empty after an earlier sweep")
        << QList<QByteArray>{twoPlayers} << QList<QByteArray>{"\\numplayers\\0\\"}
        << QStringList{"no players|1"};
}

void TestBrowserWindow::playerGrid() {
    QFETCH(QList<QByteArray>, earlier);
    QFETCH(QList<QByteArray>, reply);
    QFETCH(QStringList, rows);

    Browser b;
    const int slot = b.addAnswering("Server", {earlier});
    const quint16 port = quint16(serverTable.Port[slot].toInt() + 1);
    if (!earlier.isEmpty()) {
        b.window->BitBtn2->click();
        QTRY_COMPARE(queryTable.PlayerCount[slot], 2);
        QTRY_VERIFY(b.window->BitBtn2->isEnabled());
    }
    b.responder.setScript(port, {reply});
    b.window->BitBtn2->click();
    QTRY_VERIFY(b.window->BitBtn2->isEnabled()); // Timer1 shows the selected row's players
    QTRY_COMPARE(b.playerRows(), rows);
    b.window->SGrid->clearSelection();
    b.window->SGrid->selectRow(0);
    QCOMPARE(b.playerRows(), rows);
}

void TestBrowserWindow::join_data() {
    QTest::addColumn<bool>("sockets");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("mods");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("sockets, password, mods")
        << true << "s3cret"
        << "modA;modB;" << QStringList{"-mod=modA;modB",   "-connect=10.1.2.3", "-port=2302",
                                       "-password=s3cret", "-sockets",          "-name=Zed Two"};
    QTest::newRow("directplay, no password, no mods")
        << false << ""
        << "" << QStringList{"-connect=10.1.2.3", "-port=2302", "-dplay", "-name=Zed Two"};
}

void TestBrowserWindow::join() {
    QFETCH(bool, sockets);
    QFETCH(QString, pass);
    QFETCH(QString, mods);
    QFETCH(QStringList, arguments);

    Browser b;
    b.addServer("Other", "127.0.0.1", "1");
    const int slot = b.addServer("Target", "10.1.2.3", "2302", sockets);
    serverTable.Pass[slot] = pass;
    serverTable.Mods[slot] = mods;
    serverTable.Mods[0] = "wrong;";
    b.window->BitBtn2->click();
    b.window->SGrid->selectRow(slot);
    b.window->PlayerName->setEditText("Zed Two");

    b.window->BitBtn1->click();
    QCOMPARE(b.starter->calls.size(), 1);
    QCOMPARE(b.starter->calls[0].arguments, arguments);
    QVERIFY(b.prompts->errors.isEmpty());
}

void TestBrowserWindow::watcherHandOver_data() {
    QTest::addColumn<QString>("port");
    QTest::addColumn<bool>("sockets");
    QTest::addColumn<qint32>("queryPort");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("sockets") << "2302" << true << 2303 << QStringList{};
    QTest::newRow("directplay") << "2302" << false << 2304 << QStringList{};
    QTest::newRow("bad port") << "x" << true << 0
                              << QStringList{"'x' is not a valid integer value"};
}

void TestBrowserWindow::watcherHandOver() {
    QFETCH(QString, port);
    QFETCH(bool, sockets);
    QFETCH(qint32, queryPort);
    QFETCH(QStringList, errors);

    Browser b;
    b.addServer("Watched", "127.0.0.1", port, sockets);
    b.window->SGrid->setRowCount(1); // selected without a sweep, which would stop at a bad port
    b.window->SGrid->selectRow(0);
    b.windows->main->show();
    b.window->show();

    b.window->BitBtn3->click();
    QCOMPARE(b.prompts->errors, errors);
    QVERIFY(!b.windows->main->isVisible());
    QVERIFY(!b.window->isVisible());
    QVERIFY(FormWatcher->isVisible());
    QCOMPARE(FormWatcher->udps->RemoteHost(), QString("127.0.0.1"));
    QCOMPARE(FormWatcher->Timer2->isActive(), errors.isEmpty());
    if (errors.isEmpty())
        QCOMPARE(FormWatcher->udps->RemotePort(), queryPort);

    FormWatcher->close();
    QVERIFY(b.windows->main->isVisible());
    QVERIFY(b.window->isVisible());
}

void TestBrowserWindow::filtersHideRowsForEveryReader_data() {
    QTest::addColumn<ServerFilter>("filter");
    QTest::addColumn<bool>("byPlayers"); // sorted by players, most first
    QTest::addColumn<QStringList>("shown");

    const QStringList all{"Empty", "Full", "Open", "Quiet"};
    QTest::newRow("none") << ServerFilter() << false << all;
    QTest::newRow("silent, as stored")
        << ServerFilter{false, false, true, 0} << false << QStringList{"Empty", "Full", "Open"};
    QTest::newRow("empty and full, sorted")
        << ServerFilter{true, true, false, 0} << true << QStringList{"Open", "Quiet"};
    QTest::newRow("all three, sorted")
        << ServerFilter{true, true, true, 0} << true << QStringList{"Open"};
}

// The rows a filter hides are gone from the screen, the keyboard and the
// accessibility tree alike, which read them in the order shown; the slots
// still name their servers, and the options reach the store.
void TestBrowserWindow::filtersHideRowsForEveryReader() {
    QFETCH(ServerFilter, filter);
    QFETCH(bool, byPlayers);
    QFETCH(QStringList, shown);

    Browser b({{"hidesilent", dword(1)}});
    auto* bar = b.window->findChild<FilterBar*>();
    QVERIFY(bar->hideSilent->isChecked());
    const QStringList names{"Empty", "Full", "Open", "Quiet"};
    const QByteArrayList players{"0", "10", "3"}; // of 10 shown
    for (int slot = 0; slot < 3; ++slot)
        b.addAnswering(names[slot], {{"\\numplayers\\" + players[slot] + "\\maxplayers\\12\\"}});
    b.addAnswering(names[3], {});
    bar->hideEmpty->setChecked(filter.hideEmpty);
    bar->hideFull->setChecked(filter.hideFull);
    bar->hideSilent->setChecked(filter.hideSilent);
    ServerGrid* grid = b.window->SGrid;
    if (byPlayers)
        grid->horizontalHeader()->setSortIndicator(PlayersColumn, Qt::DescendingOrder);
    b.window->show();
    b.window->BitBtn2->click();
    QTRY_VERIFY(b.window->BitBtn2->isEnabled()); // the sweep's end filters and sorts

    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(grid)->tableInterface();
    QStringList read;
    for (int row = 0; row < table->rowCount(); ++row)
        read << table->cellAt(row, NameColumn)->text(QAccessible::Name);
    QCOMPARE(read, shown);
    QCOMPARE(bar->shownCount->isVisible(), shown.size() < 4);
    if (shown.size() < 4)
        QCOMPARE(bar->shownCount->text(), QString("%1 of 4 servers shown").arg(shown.size()));

    QVERIFY(shown.contains(b.cell(grid->currentRow(), NameColumn))); // never a hidden one
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(b.cell(grid->currentRow(), NameColumn), shown.first());
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(b.cell(grid->currentRow(), NameColumn), shown.last());
    b.window->BitBtn1->click();
    QCOMPARE(b.starter->calls.size(), 1);
    QVERIFY(b.starter->calls[0].arguments.contains(
        "-port=" + serverTable.Port[int(names.indexOf(shown.last()))]));

    bar->refreshEvery->setCurrentIndex(bar->refreshEvery->findData(30));
    QVERIFY(bar->refresh->isRunning()); // while the browser is shown only
    b.window->hide();
    QVERIFY(!bar->refresh->isRunning());

    LauncherState::instance().save();
    const QByteArray store = b.store.read();
    const auto ticked = [&store](const QByteArray& name) {
        return store.contains('"' + name + "\"=dword:00000001");
    };
    QCOMPARE(ticked("hideempty"), filter.hideEmpty);
    QCOMPARE(ticked("hidefull"), filter.hideFull);
    QCOMPARE(ticked("hidesilent"), filter.hideSilent);
}

QTEST_MAIN(TestBrowserWindow)
#include "tst_browser_window.moc"
