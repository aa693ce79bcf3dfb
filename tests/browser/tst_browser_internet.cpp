#include "browser/ServerGrid.h"
#include "browser/ServerRowMenu.h"
#include "browser/ServerSource.h"
#include "support/LauncherWindows.h"
#include "support/RecordingProcessStarter.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StandInMaster.h"
#include "testkit/StatusResponder.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStandardItem>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray openReply =
    "\\hostname\\Open House\\gametype\\Coop\\numplayers\\2\\maxplayers\\12\\"
    "player_0\\Ann\\score_0\\1\\player_1\\Bob\\score_1\\2\\";
const QByteArray lockedReply = "\\hostname\\Locked\\hostport\\2450\\password\\1\\numplayers\\0\\"
                               "maxplayers\\8\\gametype\\DM\\";

// The launcher's windows on a store with one saved server and a stand-in
// master that lists two answering servers on 127.0.0.1; the cache folder is
// a temporary one shared by the windows made one after the other.
struct Internet {
    Internet() {
        master.answer =
            StandInMaster::listAnswer({{0x7F000001, responder.listen(0, {{openReply}})},
                                       {0x7F000001, responder.listen(0, {{lockedReply}})}},
                                      true);
        store.write(StoreText()
                        .launcher(store.existingFile(), {{"nosplash", dword(0)},
                                                         {"window", dword(0)},
                                                         {"close", dword(0)},
                                                         {"masters", quoted(master.address())},
                                                         {"mastergame", quoted("zam")},
                                                         {"masterkey", quoted("Xy7kQ2")}})
                        .server(7, {"Mine", "127.0.0.1", "1", "", true, ""}));
        open();
    }
    void open() {
        windows.reset();
        windows = std::make_unique<LauncherWindows>();
        window = windows->browser.get();
        source = window->source();
    }
    QString cell(int row, int column) const {
        const QStandardItem* item = window->SGrid->item(row, column);
        return item ? item->text() : QString();
    }

    StoreFixture store;
    QTemporaryDir cache;
    ScopedEnvironment cacheHome{"XDG_CACHE_HOME", cache.path().toUtf8()};
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    StatusResponder responder;
    StandInMaster master;
    std::unique_ptr<LauncherWindows> windows;
    TForm4* window = nullptr;
    ServerSource* source = nullptr;
};

} // namespace

class TestBrowserInternet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void internetList();
    void masterProblemsAreShown_data();
    void masterProblemsAreShown();
};

// Chosen, the internet list is fetched and swept like the saved servers;
// its rows join without mods and with a password when asked for one, and
// can be saved; the next start shows the kept list at once, as old.
void TestBrowserInternet::internetList() {
    Internet b;
    QCOMPARE(b.source->choice->currentText(), QString("My servers"));
    b.window->show();
    QTRY_COMPARE(b.cell(0, 0), QString("Mine"));

    b.source->choice->setCurrentIndex(1);
    QTRY_COMPARE(b.window->SGrid->rowCount(), 2);
    QTRY_COMPARE(b.cell(0, 0), QString("Open House"));
    QTRY_COMPARE(b.cell(1, 0), QString("Locked"));
    QCOMPARE(b.cell(0, 3), QString("2/10"));
    QCOMPARE(b.cell(1, 4), QString("DM"));
    QCOMPARE(b.cell(1, 1), QString("127.0.0.1:2450")); // where it is joined
    QVERIFY2(b.source->info->text().startsWith("2 servers from " + b.master.address()),
             qPrintable(b.source->info->text()));

    b.window->SGrid->selectRow(1);
    b.prompts->passwordAnswers = {"se cret"};
    b.window->BitBtn1->click();
    QCOMPARE(b.prompts->passwordPrompts, QStringList{"Locked"});
    QCOMPARE(b.starter->calls.size(), 1);
    const QString joined = b.starter->calls[0].arguments.join(u' ');
    QVERIFY2(joined.contains("-connect=127.0.0.1 -port=2450 -password=se cret -sockets") &&
                 !joined.contains("-mod="),
             qPrintable(joined));

    b.source->addToMyServers(1);
    QCOMPARE(serverTable.Last, 1);
    const int saved = serverTable.Name[0] == "Locked" ? 0 : 1;
    QCOMPARE(serverTable.Name[saved], QString("Locked"));
    QCOMPARE(serverTable.Host[saved], QString("127.0.0.1"));
    QCOMPARE(serverTable.Port[saved], QString("2450"));
    QVERIFY(serverTable.Sockets[saved] && serverTable.Pass[saved].isEmpty());
    QVERIFY(b.store.read().contains("\"name\"=\"Locked\""));

    // Refresh within the minute sweeps again without asking the master.
    QTRY_VERIFY(b.window->BitBtn2->isEnabled());
    b.window->BitBtn2->click();
    QCOMPARE(b.master.connections, 1);

    b.open();
    b.source->choice->setCurrentIndex(1);
    QCOMPARE(b.window->SGrid->rowCount(), 2);
    QCOMPARE(b.cell(0, 1), b.source->servers().Host[0] + u':' + b.source->servers().Port[0]);
    QVERIFY2(b.source->info->text().contains("old list"), qPrintable(b.source->info->text()));
    QCOMPARE(b.master.connections, 1);
}

void TestBrowserInternet::masterProblemsAreShown_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("masterSet");
    QTest::addColumn<QString>("info");
    QTest::newRow("refused") << "\\error\\No such game\\"_ba << true
                             << "master $: refused the list: No such game";
    QTest::newRow("no master") << QByteArray() << false << "No master server set";
}

void TestBrowserInternet::masterProblemsAreShown() {
    QFETCH(QByteArray, answer);
    QFETCH(bool, masterSet);
    QFETCH(QString, info);

    Internet b;
    b.master.answer = answer;
    if (!masterSet)
        LauncherState::instance().masters = MasterSettings();
    b.source->choice->setCurrentIndex(1);
    QTRY_VERIFY2(b.source->info->text().startsWith(info.replace(u'$', b.master.address())),
                 qPrintable(b.source->info->text()));
    QCOMPARE(b.window->SGrid->rowCount(), 0);
}

QTEST_MAIN(TestBrowserInternet)
#include "tst_browser_internet.moc"
