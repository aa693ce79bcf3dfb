#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/Tables.h"
#include "support/FileSizeLimit.h"
#include "support/LauncherWindows.h"
#include "support/RecordingProcessStarter.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <optional>

namespace {

QByteArray storeText(const QString& exe, bool close) {
    return StoreText()
        .launcher(exe, {{"nosplash", dword(1)},
                        {"window", dword(0)},
                        {"close", dword(close)},
                        {"watchers", dword(1)}})
        .mod(1, "Alpha", "alpha", false)
        .mod(2, "Beta", "beta", true)
        .playerName("Bob");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void firstStartOnEmptyStore();
    void serverListNeedsServers();
    void ticksAndChange();
    void launches_data();
    void launches();
    void failedStartKeepsLauncherOpen();
    void oneStartPerPress_data();
    void oneStartPerPress();
    void failedClosingSaveAsksTheUser_data();
    void failedClosingSaveAsksTheUser();
};

void TestMainWindow::firstStartOnEmptyStore() {
    StoreFixture store;
    InstalledPrompts prompts;
    const QString exe = store.existingFile();
    prompts->fileAnswers << exe;
    LauncherWindows windows;

    QCOMPARE(prompts->messages, QStringList{"Select the ZAM executable."});
    QCOMPARE(prompts->fileDialogs,
             QStringList{"ZAMR Executable|QuellgroveResistance.exe|All files|*.*"});
    QCOMPARE(windows.main->ModList->count(), 0);
    QCOMPARE(windows.main->exenimi->text(), exe);
    QVERIFY(!windows.main->MYIP->text().isEmpty());
    QVERIFY(prompts->errors.isEmpty());
}

void TestMainWindow::serverListNeedsServers() {
    StoreFixture store;
    store.write(storeText(store.existingFile(), false));
    InstalledPrompts prompts;
    LauncherWindows windows;
    windows.main->show();

    windows.main->BitBtn5->click();
    QCOMPARE(prompts->messages,
             QStringList{"No server entries found, add servers first using the options menu"});
    QVERIFY(!windows.browser->isVisible());

    serverTable.Last = 0;
    windows.main->BitBtn5->click();
    QVERIFY(windows.browser->isVisible());
}

void TestMainWindow::ticksAndChange() {
    StoreFixture store;
    const QString exe = store.existingFile();
    store.write(storeText(exe, false));
    InstalledPrompts prompts;
    LauncherWindows windows;
    QListWidget* list = windows.main->ModList;

    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QString("Alpha"));
    QCOMPARE(list->item(1)->checkState(), Qt::Checked);
    QCOMPARE(windows.main->PlayerName->currentText(), QString("Bob"));

    list->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(modTable.Checked[0], true);

    // "change" stores the chosen file and reloads: the unsaved tick is gone.
    prompts->fileAnswers << exe;
    windows.main->Button1->click();
    QCOMPARE(prompts->messages, QStringList{"Select the ZAM executable."});
    QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(modTable.Checked[0], false);
}

void TestMainWindow::launches_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closeAfterLaunch");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("singleplayer") << "BitBtn3" << false
                                  << QStringList{"-nosplash", "-mod=beta", "-name=Bob"};
    QTest::newRow("host with the ticked mods")
        << "BitBtn2" << true << QStringList{"-nosplash", "-mod=beta", "-host", "-name=Bob"};
}

void TestMainWindow::launches() {
    QFETCH(QString, button);
    QFETCH(bool, closeAfterLaunch);
    QFETCH(QStringList, arguments);

    StoreFixture store;
    const QString exe = store.existingFile();
    store.write(storeText(exe, closeAfterLaunch));
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    LauncherWindows windows;
    windows.main->show();

    windows.main->findChild<QPushButton*>(button)->click();
    QCOMPARE(starter->calls.size(), 1);
    QCOMPARE(starter->calls[0].arguments, arguments);
    QVERIFY(prompts->errors.isEmpty());

    if (closeAfterLaunch) {
        QVERIFY(!windows.main->isVisible());
        return;
    }
    // The launch buttons stay locked for a while after the start.
    QVERIFY(!windows.main->BitBtn3->isEnabled());
    QVERIFY(!windows.main->BitBtn2->isEnabled());
    QVERIFY(!windows.main->BitBtn5->isEnabled());
    QTRY_VERIFY(windows.main->BitBtn3->isEnabled());
    QVERIFY(windows.main->BitBtn5->isEnabled());
    QVERIFY(windows.main->isVisible());
}

void TestMainWindow::failedStartKeepsLauncherOpen() {
    StoreFixture store;
    store.write(storeText(store.existingFile(), true));
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    starter->fail = true;
    LauncherWindows windows;
    windows.main->show();

    windows.main->BitBtn3->click();
    QCOMPARE(prompts->errors.size(), 1);
    QVERIFY(prompts->errors[0].startsWith("Could not start"));
    QVERIFY(windows.main->isVisible());
}

void TestMainWindow::oneStartPerPress_data() {
    QTest::addColumn<bool>("inBrowser"); // else the main window's "MP: &Host game"
    QTest::addColumn<QString>("press");
    for (const bool inBrowser : {false, true})
        for (const char* press : {"double click 150 ms apart", "held Enter", "held mnemonic"})
            QTest::addRow("%s: %s", inBrowser ? "join" : "host", press)
                << inBrowser << QString(press);
}

// A second click or a repeating key while the game starts starts nothing;
// once the lock is over the button starts again and has the focus it had.
void TestMainWindow::oneStartPerPress() {
    QFETCH(bool, inBrowser);
    QFETCH(QString, press);

    StoreFixture store;
    store.write(storeText(store.existingFile(), false) +
                StoreText::keysOnly().server(5, {"local", "127.0.0.1", "2302", "", true, ""}));
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    LauncherWindows windows;
    QWidget* window = windows.main.get();
    QPushButton* button = windows.main->BitBtn2;
    Qt::Key mnemonic = Qt::Key_H;
    if (inBrowser) {
        window = windows.browser.get();
        button = windows.browser->BitBtn1;
        mnemonic = Qt::Key_J;
        windows.browser->SGrid->setRowCount(1);
        windows.browser->SGrid->selectRow(0);
    }
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    button->setFocus();

    const auto key = [&](Qt::Key code, Qt::KeyboardModifiers modifiers, bool repeat) {
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::simulateEvent(focused, true, code, modifiers, QString(), repeat, repeat ? 50 : -1);
    };
    if (press.startsWith("double click")) {
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(150); // the click's delay only stamps the event
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(), 150);
    } else {
        const Qt::Key code = press == "held Enter" ? Qt::Key_Return : mnemonic;
        const Qt::KeyboardModifiers modifiers =
            press == "held Enter" ? Qt::NoModifier : Qt::AltModifier;
        // Held longer than the lock would last without the repeats.
        for (int i = 0; i < 14; ++i)
            key(code, modifiers, i > 0);
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        QTest::simulateEvent(focused, false, code, modifiers, QString(), false);
    }
    QTRY_COMPARE(starter->calls.size(), 1);
    QTRY_VERIFY(button->isEnabled());
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(starter->calls.size(), 2);
    QVERIFY(prompts->errors.isEmpty());
}

void TestMainWindow::failedClosingSaveAsksTheUser_data() {
    QTest::addColumn<QList<SaveFailureAnswer>>("answers");
    QTest::addColumn<bool>("closed");
    QTest::newRow("retry, then quit without saving")
        << QList{SaveFailureAnswer::Retry, SaveFailureAnswer::QuitWithoutSaving} << true;
    QTest::newRow("keep open") << QList{SaveFailureAnswer::KeepOpen} << false;
}

// A closing save that fails (a full disk) shows the error and does what the
// user answers; after "keep open" a later close saves once the disk has room.
void TestMainWindow::failedClosingSaveAsksTheUser() {
    QFETCH(QList<SaveFailureAnswer>, answers);
    QFETCH(bool, closed);

    StoreFixture store;
    store.write(storeText(store.existingFile(), false));
    InstalledPrompts prompts;
    prompts->saveFailureAnswers = answers;
    LauncherWindows windows;
    windows.main->show();
    const QByteArray before = store.read();
    windows.main->ModList->item(0)->setCheckState(Qt::Checked);

    std::optional<FileSizeLimit> fullDisk(std::in_place, 16);
    windows.main->close();
    QCOMPARE(prompts->saveFailures.size(), answers.size());
    QCOMPARE(prompts->saveFailures[0], QString("Failed to set data for 'checked'"));
    QCOMPARE(store.read(), before);
    QCOMPARE(windows.main->isVisible(), !closed);
    if (closed)
        return;

    fullDisk.reset();
    windows.main->close();
    QVERIFY(!windows.main->isVisible());
    QCOMPARE(prompts->saveFailures.size(), answers.size());
    QVERIFY(
        store.read().contains("\"name\"=\"Alpha\"\n\"dir\"=\"alpha\"\n\"checked\"=dword:00000001"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
