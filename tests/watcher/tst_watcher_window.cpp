#include "browser/ServerGrid.h"
#include "query/UdpEndpoint.h"
#include "settings/Tables.h"
#include "support/LauncherWindows.h"
#include "support/RecordingProcessStarter.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StatusResponder.h"
#include "watcher/FreeSlotJoin.h"
#include "watcher/PlayerChart.h"
#include "watcher/RecordingSoundOutput.h"
#include "windows/ReadableColour.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QColor kGreen(0, 128, 0);
const QColor kMaroon(128, 0, 0);

QColor colourOf(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

QStringList rowsOf(const QTableWidget* grid) {
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r)
        rows << grid->item(r, 0)->text() + u'|' + grid->item(r, 1)->text();
    return rows;
}

// The launcher's windows on a seeded store, the watcher shown and aimed at a
// local responder, and every sound recorded.
struct WatchingLauncher {
    WatchingLauncher() {
        store.write(StoreText().launcher(store.existingFile(),
                                         {{"nosplash", dword(0)}, {"window", dword(0)}}));
        windows = std::make_unique<LauncherWindows>();
        watcher = windows->watcher.get();
        launcherSettings.Sound1 = QStringLiteral("/sounds/new game.wav");
        launcherSettings.Sound2 = QStringLiteral("/sounds/players.wav");
        port = responder.listen(0, {});
        watchAt(port);
    }

    // What the browser's "&Watcher" does.
    void watchAt(quint16 serverPort) {
        windows->main->hide();
        windows->browser->hide();
        watcher->show();
        QVERIFY(QTest::qWaitForWindowActive(watcher));
        watcher->udps->setRemoteHost(QStringLiteral("127.0.0.1"));
        watcher->udps->setRemotePort(serverPort);
        watcher->Timer2->start();
    }

    // One poll answered by these datagrams, the last of which carries
    // gametype tag; true once the watcher has shown it.
    bool poll(QList<QByteArray> datagrams, const QString& tag) {
        datagrams.last() += "gametype\\" + tag.toLatin1() + '\\';
        responder.setScript(port, {datagrams, 0});
        watcher->UpdateStatus();
        return QTest::qWaitFor([&] { return watcher->mission->text() == tag; });
    }

    StoreFixture store;
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    InstalledSoundOutput sounds;
    std::unique_ptr<LauncherWindows> windows;
    TFormWatcher* watcher = nullptr;
    StatusResponder responder;
    quint16 port = 0;
};

} // namespace

class TestWatcherWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void soundsPerMode_data();
    void soundsPerMode();
    void labelsColoursAndLamp();
    void coloursFollowTheDesktopPalette();
    void unplayableSoundSaidOnce();
    void playerListAcrossDatagrams();
    void malformedMaxplayersOpensNoBox();
    void closingAndReopening();
    void joinUsesTheBrowsersJoin();
    void joinsWhenASlotIsFree();
    void compactAndExpanded();
    void blinksAndPolls();
};

void TestWatcherWindow::soundsPerMode_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArrayList>("polls");
    QTest::addColumn<QStringList>("played");

    QTest::newRow("built-in once after a game")
        << 1 << QByteArrayList{"\\gstate\\14\\", "\\gstate\\2\\", "\\gstate\\2\\"}
        << QStringList{"built-in"};
    QTest::newRow("new-game file after briefing")
        << 2 << QByteArrayList{"\\gstate\\13\\", "\\gstate\\9\\"}
        << QStringList{"file:/sounds/new game.wav"};
    QTest::newRow("players file when an empty server fills")
        << 2 << QByteArrayList{"\\numplayers\\0\\", "\\numplayers\\1\\gstate\\6\\"}
        << QStringList{"file:/sounds/players.wav"};
    QTest::newRow("sounds off") << 0 << QByteArrayList{"\\gstate\\14\\", "\\gstate\\2\\"}
                                << QStringList{};
    // A store imported from Windows: the path goes into the Wine prefix.
    QTest::newRow("Windows path") << 2 << QByteArrayList{"\\gstate\\13\\", "\\gstate\\9\\"}
                                  << QStringList{"file:/no/prefix/drive_c/Sounds/New.wav"};
}

void TestWatcherWindow::soundsPerMode() {
    QFETCH(int, mode);
    QFETCH(QByteArrayList, polls);
    QFETCH(QStringList, played);

    ScopedEnvironment prefix("WINEPREFIX", "/no/prefix");
    WatchingLauncher launcher;
    launcherSettings.SoundMode = mode;
    if (QByteArray(QTest::currentDataTag()) == "Windows path")
        launcherSettings.Sound1 = QStringLiteral("C:\\Sounds\\New.wav"); // as regedit imports it
    for (qsizetype i = 0; i < polls.size(); ++i)
        QVERIFY(launcher.poll({polls[i]}, QStringLiteral("m%1").arg(i)));
    QCOMPARE(launcher.sounds->played, played);
}

void TestWatcherWindow::labelsColoursAndLamp() {
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    QVERIFY(launcher.poll({"\\numplayers\\9\\maxplayers\\12\\gstate\\14\\"}, "Coop"));
    QCOMPARE(w->host->text(), QStringLiteral("127.0.0.1:%1").arg(launcher.port));
    QCOMPARE(w->status->text(), QString("Game in progress..."));
    QCOMPARE(colourOf(w->status), kMaroon);
    QCOMPARE(w->players->text(), QString("9/10"));
    QCOMPARE(colourOf(w->players), kMaroon);
    QCOMPARE(colourOf(w->mission), kGreen);
    QVERIFY(!w->LR->isHidden());

    QVERIFY(launcher.poll({"\\numplayers\\10\\maxplayers\\12\\gstate\\6\\"}, "Coop 2"));
    QCOMPARE(w->status->text(), QString("Setting up"));
    QCOMPARE(colourOf(w->status), kGreen);
    QCOMPARE(w->players->text(), QString("10/10"));
    QCOMPARE(colourOf(w->players), kGreen);
    QVERIFY(w->LR->isHidden());

    QVERIFY(launcher.poll({"\\numplayers\\0\\"}, "Coop 3"));
    QCOMPARE(w->status->text(), QString("Empty"));
    QCOMPARE(colourOf(w->status), kMaroon);
    QCOMPARE(colourOf(w->players), kMaroon);
    QVERIFY(!w->LR->isHidden());

    launcher.responder.setScript(launcher.port, {{"\\gametype\\\\"}, 0});
    w->UpdateStatus();
    QTRY_COMPARE(w->mission->text(), QString("None"));
    QCOMPARE(colourOf(w->mission), kMaroon);
}

// On a dark window every coloured text and the chart's line are lighter
// shades of their colours that read at 4.5:1 against the window; a palette
// changed while watching recolours them, and a light one brings the
// designed colours back.
void TestWatcherWindow::coloursFollowTheDesktopPalette() {
    QPalette dark(QColor(0xe7, 0xe4, 0xe0), QColor(0x22, 0x20, 0x20));
    dark.setColor(QPalette::WindowText, Qt::white);
    const QPalette light = QApplication::palette();
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    w->SpeedButton1->click(); // the expanded layout, with the chart
    const auto* chart = w->findChild<PlayerChart*>();
    const struct {
        QByteArray reply;
        QColor status;
        QColor players;
    } polls[] = {{"\\numplayers\\9\\maxplayers\\12\\gstate\\14\\", kMaroon, kMaroon},
                 {"\\numplayers\\10\\maxplayers\\12\\gstate\\2\\", kGreen, kGreen}};
    int tag = 0;
    for (const auto& poll : polls) {
        QVERIFY(launcher.poll({poll.reply}, QString::number(++tag)));
        const std::pair<std::function<QColor()>, QColor> shownAndDesigned[] = {
            {[&] { return colourOf(w->status); }, poll.status},
            {[&] { return colourOf(w->players); }, poll.players},
            {[&] { return colourOf(w->mission); }, kGreen},
            {[&] { return chart->lineColour(); }, kGreen}};
        for (const QPalette& palette : {dark, light, dark}) {
            QApplication::setPalette(palette);
            const QColor window = palette.color(QPalette::Window);
            for (const auto& [shown, designed] : shownAndDesigned) {
                if (palette == light) {
                    QTRY_COMPARE(shown(), designed);
                    continue;
                }
                QTRY_VERIFY2(contrastRatio(shown(), window) >= 4.5, qPrintable(shown().name()));
                QCOMPARE(shown().hslHue(), designed.hslHue());
            }
        }
    }
}

void TestWatcherWindow::unplayableSoundSaidOnce() {
    WatchingLauncher launcher;
    launcher.sounds->filesFail = true;
    launcherSettings.SoundMode = 2;
    const QString said = "The sound file \"/sounds/new game.wav\" cannot be played.";
    for (int game = 0; game < 2; ++game) {
        QVERIFY(launcher.poll({"\\gstate\\13\\"}, QStringLiteral("briefing %1").arg(game)));
        QVERIFY(launcher.poll({"\\gstate\\9\\"}, QStringLiteral("new game %1").arg(game)));
        QCOMPARE(launcher.watcher->status->text() == said, game == 0);
    }
    QCOMPARE(launcher.sounds->played.size(), 2);
}

void TestWatcherWindow::playerListAcrossDatagrams() {
    WatchingLauncher launcher;
    QTableWidget* list = launcher.watcher->playerList;

    QVERIFY(launcher.poll(
        {"\\player_0\\A\\score_0\\1\\player_1\\B\\score_1\\2\\", "\\player_2\\C\\score_2\\3\\"},
        "m1"));
    QCOMPARE(rowsOf(list), (QStringList{"A|1", "C|3"}));

    QVERIFY(launcher.poll({"\\player_0\\D\\player_1\\E\\"}, "m2"));
    QCOMPARE(rowsOf(list), QStringList{"E|"});

    // A score without a name shows the name its row held before.
    QVERIFY(launcher.poll({"\\player_0\\F\\score_0\\4\\score_1\\5\\"}, "m3"));
    QCOMPARE(rowsOf(list), (QStringList{"F|4", "C|5"}));
}

void TestWatcherWindow::malformedMaxplayersOpensNoBox() {
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    launcherSettings.SoundMode = 1;
    QVERIFY(launcher.poll({"\\gstate\\14\\numplayers\\4\\maxplayers\\8\\"}, "m1"));

    QTest::ignoreMessage(QtWarningMsg,
                         "Error in datagram handler: 'abc' is not a valid integer value");
    launcher.responder.setScript(launcher.port,
                                 {{"\\gstate\\13\\player_0\\A\\score_0\\1\\player_1\\B\\"
                                   "maxplayers\\abc\\gametype\\lost\\gstate\\2\\"},
                                  0});
    w->UpdateStatus();
    QTRY_COMPARE(w->status->text(), QString("Briefing"));
    QTRY_COMPARE(w->status->toolTip(), QString("'abc' is not a valid integer value"));
    QVERIFY(launcher.prompts->errors.isEmpty());
    QCOMPARE(w->mission->text(), QString("m1"));
    QCOMPARE(rowsOf(w->playerList), (QStringList{"A|1", "B|"})); // the open row stays
    QCOMPARE(w->players->text(), QString("4/6"));
    QCOMPARE(w->watchedServer().WatcherState, 14);

    QVERIFY(launcher.poll({"\\gstate\\2\\"}, "m2"));
    QCOMPARE(launcher.sounds->played, QStringList{"built-in"});
    QVERIFY(w->status->toolTip().isEmpty());
}

void TestWatcherWindow::closingAndReopening() {
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    launcherSettings.SoundMode = 1;
    QVERIFY(launcher.poll({"\\gstate\\14\\"}, "m1"));

    w->BitBtn1->click();
    QVERIFY(!w->isVisible());
    QVERIFY(!w->Timer2->isActive());
    QCOMPARE(w->watchedServer().WatcherState, 0);
    QVERIFY(launcher.windows->main->isVisible());
    QVERIFY(launcher.windows->browser->isVisible());

    // Reopened for a server that does not answer: the new host shows at
    // once, the old status until a reply comes.
    StatusResponder silent;
    const quint16 silentPort = silent.listen(0, {});
    launcher.watchAt(silentPort);
    w->UpdateStatus();
    QCOMPARE(w->host->text(), QStringLiteral("127.0.0.1:%1").arg(silentPort));
    QTRY_COMPARE(silent.requestCount(silentPort), 1);
    QCOMPARE(w->status->text(), QString("Game in progress..."));

    // The first reply after reopening never sounds.
    w->close();
    launcher.watchAt(launcher.port);
    QVERIFY(launcher.poll({"\\gstate\\2\\"}, "m2"));
    QCOMPARE(w->status->text(), QString("Selecting mission"));
    QVERIFY(launcher.sounds->played.isEmpty());
}

// "Join" joins the server selected in the browser, as the browser's own join does.
void TestWatcherWindow::joinUsesTheBrowsersJoin() {
    WatchingLauncher launcher;
    serverTable.Last = 0;
    serverTable.Host[0] = QStringLiteral("10.1.2.3");
    serverTable.Port[0] = QStringLiteral("2302");
    serverTable.Sockets[0] = true;
    launcher.windows->browser->SGrid->setRowCount(1);
    launcher.windows->browser->SGrid->selectRow(0);

    launcher.watcher->BitBtn2->click();
    QCOMPARE(launcher.starter->calls.size(), 1);
    QVERIFY(launcher.starter->calls[0].arguments.contains("-connect=10.1.2.3"));
    QVERIFY(!launcher.watcher->isVisible());
    QVERIFY(launcher.windows->main->isVisible());
    QVERIFY(launcher.windows->browser->isVisible());
}

// Ticked on a full server, the watcher polls faster and joins through the
// browser's join once the responder reports a free slot; watching another
// server or joining clears the tick.
void TestWatcherWindow::joinsWhenASlotIsFree() {
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    FreeSlotJoin* box = w->JoinWhenFree;
    const int slot = ++serverTable.Last;
    serverTable.Host[slot] = QStringLiteral("127.0.0.1");
    serverTable.Port[slot] = QString::number(launcher.port - 1);
    serverTable.Sockets[slot] = true;
    launcher.windows->browser->SGrid->setRowCount(1);
    launcher.windows->browser->SGrid->selectRow(slot);
    const QByteArray full = "\\numplayers\\10\\maxplayers\\12\\";

    QVERIFY(!box->isEnabled());
    QVERIFY(launcher.poll({full}, "Full"));
    QVERIFY(box->isEnabled());
    box->click();
    QCOMPARE(w->Timer2->interval(), 5000);
    w->watch(QStringLiteral("127.0.0.1"), serverTable.Port[slot], true);
    QVERIFY(!box->isChecked());
    QCOMPARE(w->Timer2->interval(), 15000);

    QVERIFY(launcher.poll({full}, "Still full"));
    box->click();
    QVERIFY(launcher.poll({"\\numplayers\\9\\", "\\maxplayers\\12\\"}, "Free"));
    QTRY_COMPARE(launcher.starter->calls.size(), 1);
    QVERIFY(launcher.starter->calls[0].arguments.contains("-port=" + serverTable.Port[slot]));
    QVERIFY(!box->isChecked());
    QVERIFY(!box->isEnabled());
    QVERIFY(!w->isVisible());
    QCOMPARE(w->Timer2->interval(), 15000);
}

// The speed button switches between the compact layout and the larger
// expanded one, which alone shows the mission and the player list; its
// caption stays inside the window.
void TestWatcherWindow::compactAndExpanded() {
    StoreFixture store;
    InstalledPrompts prompts;
    prompts->fileAnswers << store.existingFile();
    LauncherWindows windows;
    TFormWatcher* w = windows.watcher.get();
    const QSize compact = w->size();
    for (const bool expanded : {false, true, false, true}) {
        QCOMPARE(w->SpeedButton1->text(), expanded ? "<< Less" : "More >>");
        QVERIFY(w->rect().contains(w->SpeedButton1->geometry()));
        for (QWidget* control :
             std::initializer_list<QWidget*>{w->Label4, w->mission, w->playerList})
            QCOMPARE(control->isHidden(), !expanded);
        if (expanded)
            QVERIFY(w->width() > compact.width() && w->height() > compact.height());
        else
            QCOMPARE(w->size(), compact);
        w->SpeedButton1->click();
    }
}

void TestWatcherWindow::blinksAndPolls() {
    WatchingLauncher launcher;
    TFormWatcher* w = launcher.watcher;
    QCOMPARE(w->udps->LocalPort(), 15020);

    const bool lit = !w->LG->isHidden();
    QTRY_COMPARE(w->LG->isHidden(), lit);
    QTRY_COMPARE(w->LG->isHidden(), !lit);

    // Each tick of the poll timer sends a query.
    w->Timer2->start(20);
    QTRY_VERIFY(launcher.responder.requestCount(launcher.port) >= 2);
}

QTEST_MAIN(TestWatcherWindow)
#include "tst_watcher_window.moc"
