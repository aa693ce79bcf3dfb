#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QProcess>
#include <QTest>

namespace {

// The window's _NET_WM_STATE as xprop prints it.
QByteArray windowState(WId window) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-id", QString::number(window), "_NET_WM_STATE"});
    xprop.waitForFinished();
    return xprop.readAllStandardOutput();
}

} // namespace

// Run by on-top-under-xvfb.sh on an X server with a window manager: the
// shown watcher must carry the state that keeps it above other windows.
class TestWatcherOnTop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shownWatcherStaysAbove();
};

void TestWatcherOnTop::shownWatcherStaysAbove() {
    StoreFixture store;
    store.write(StoreText().launcher(store.existingFile()));
    InstalledPrompts prompts;
    LauncherWindows windows;
    windows.watcher->show();
    QVERIFY(QTest::qWaitForWindowExposed(windows.watcher.get()));

    QByteArray state;
    QTRY_VERIFY2_WITH_TIMEOUT(
        (state = windowState(windows.watcher->winId())).contains("_NET_WM_STATE_ABOVE"),
        state.constData(), 5000);
}

QTEST_MAIN(TestWatcherOnTop)
#include "tst_watcher_on_top.moc"
