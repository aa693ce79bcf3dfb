#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QHeaderView>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>

namespace {

QByteArray storeWith(const QString& exe, const QList<StoreValue>& geometry) {
    return StoreText()
        .launcher(exe, {{"nosplash", dword(0)}, {"window", dword(0)}})
        .key(StoreKeys::Launcher + "geometry", geometry);
}

bool onPrimaryScreen(const QWidget* window) {
    return QGuiApplication::primaryScreen()->geometry().contains(window->pos());
}

} // namespace

class TestRememberedPlaces : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void windowsOpenWhereTheyWereLeft_data();
    void windowsOpenWhereTheyWereLeft();
};

void TestRememberedPlaces::windowsOpenWhereTheyWereLeft_data() {
    QTest::addColumn<QPoint>("corner");
    QTest::addColumn<bool>("onScreen");
    QTest::newRow("on the screen") << QPoint(30, 40) << true;
    QTest::newRow("on a screen no longer there") << QPoint(-5000, 40) << false;
}

// The browser's place, size, splitter and sorted column and the watcher's
// place come back from the store; a place on no present screen gives way to
// the usual centred one. The closing save writes where the windows are now.
void TestRememberedPlaces::windowsOpenWhereTheyWereLeft() {
    QFETCH(QPoint, corner);
    QFETCH(bool, onScreen);

    StoreFixture store;
    const QString place = QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y());
    store.write(storeWith(store.existingFile(), {{"browser", quoted(place + ",700,480")},
                                                 {"browserSplitter", quoted("200,100")},
                                                 {"browserSort", quoted("3,1")},
                                                 {"watcher", quoted(place)}}));
    InstalledPrompts prompts;
    LauncherWindows windows;
    QVERIFY(prompts->messages.isEmpty());
    windows.main->show();
    TForm4* browser = windows.browser.get();
    browser->show();
    TFormWatcher* watcher = windows.watcher.get();
    watcher->show();

    QCOMPARE(browser->size(), QSize(700, 480));
    for (const QWidget* window : {static_cast<QWidget*>(browser), static_cast<QWidget*>(watcher)}) {
        QCOMPARE(window->pos() == corner, onScreen);
        QVERIFY(onPrimaryScreen(window));
    }
    QCOMPARE(browser->SGrid->horizontalHeader()->sortIndicatorSection(), 3);
    QCOMPARE(browser->SGrid->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    browser->move(60, 70);
    watcher->move(80, 90);
    windows.main->close();
    const QByteArray saved = store.read();
    QVERIFY2(saved.contains("\"browser\"=\"60,70,700,480\""), saved.constData());
    QVERIFY(saved.contains("\"watcher\"=\"80,90\""));
    QVERIFY(saved.contains("\"browserSort\"=\"3,1\""));
}

QTEST_MAIN(TestRememberedPlaces)
#include "tst_remembered_places.moc"
