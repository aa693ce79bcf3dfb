#include "app/ApplicationWindows.h"
#include "app/Unit1.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "watcher/Unit6.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QTest>

class TestApplicationWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void othersFollowTheMainWindow_data();
    void othersFollowTheMainWindow();
};

void TestApplicationWindows::othersFollowTheMainWindow_data() {
    QTest::addColumn<bool>("inputFirst");
    QTest::newRow("after the first paint") << false;
    QTest::newRow("before the first input") << true;
}

// The main window shows alone; the other six follow, hidden, linked, and
// with what the main window's load left in the state.
void TestApplicationWindows::othersFollowTheMainWindow() {
    QFETCH(bool, inputFirst);
    StoreFixture store;
    store.write(StoreText().launcher(store.existingFile()).playerName("Bob"));
    InstalledPrompts prompts;
    ApplicationWindows windows;
    windows.showMain();
    QVERIFY(!windows.othersCreated());

    if (inputFirst) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(windows.main.get(), &press);
        QVERIFY(windows.othersCreated());
    }
    QTRY_VERIFY(windows.othersCreated());

    const QList<QWidget*> others{Form2, Form3, Form4, AboutDialog, FormWatcher, FormOptions};
    QVERIFY(!others.contains(nullptr));
    for (QWidget* window : others)
        QVERIFY(!window->isVisible());
    QCOMPARE(Form4->PlayerName->currentText(), QString("Bob"));
    QVERIFY(Form4->OnJoin && Form4->OnWatch && FormWatcher->OnJoin && FormWatcher->OnClosed);
    QVERIFY(windows.main->isVisible());
    QVERIFY(prompts->errors.isEmpty());
}

QTEST_MAIN(TestApplicationWindows)
#include "tst_application_windows.moc"
