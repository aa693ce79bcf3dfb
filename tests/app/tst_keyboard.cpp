#include "support/LauncherWindows.h"
#include "support/RecordingProcessStarter.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

namespace {

QByteArray oneServerStore(const QString& exe) {
    return StoreText()
        .launcher(exe, {{"nosplash", dword(0)}, {"window", dword(0)}})
        .server(5, {"local", "127.0.0.1", "2302", "", true, ""});
}

// The launcher's windows on a store with one server on 127.0.0.1.
struct Keyboard {
    Keyboard() {
        store.write(oneServerStore(store.existingFile()));
        windows = std::make_unique<LauncherWindows>();
    }
    [[nodiscard]] bool active(QWidget* window) {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    StoreFixture store;
    InstalledPrompts prompts;
    InstalledProcessStarter starter;
    std::unique_ptr<LauncherWindows> windows;
};

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void escapeCloses_data();
    void escapeCloses();
    void tabLeavesTheGrids();
    void enterPressesTheFocusedButton();
};

void TestKeyboard::escapeCloses_data() {
    QTest::addColumn<QString>("window");
    for (const char* name : {"Form2", "Form3", "FormOptions", "FormWatcher", "AboutDialog"})
        QTest::newRow(name) << QString(name);
}

void TestKeyboard::escapeCloses() {
    QFETCH(QString, window);
    Keyboard keyboard;
    QWidget* shown = nullptr;
    for (QWidget* each : QApplication::topLevelWidgets())
        if (each->objectName() == window)
            shown = each;
    QVERIFY(shown);
    QVERIFY(keyboard.active(shown));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : shown,
                    Qt::Key_Escape);
    QVERIFY(!shown->isVisible());
    QVERIFY(keyboard.prompts->errors.isEmpty());
}

// Arrows move inside a grid, Tab and Shift+Tab go on to the next control.
void TestKeyboard::tabLeavesTheGrids() {
    Keyboard keyboard;
    TForm4* browser = keyboard.windows->browser.get();
    QVERIFY(keyboard.active(browser));
    browser->SGrid->setRowCount(2);
    for (QTableView* grid :
         {static_cast<QTableView*>(browser->SGrid), static_cast<QTableView*>(browser->PlrGrid)}) {
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 0));
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(grid->currentIndex().column(), 1);
        QTest::keyClick(grid, Qt::Key_Tab);
        QVERIFY(!grid->hasFocus());
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(!grid->hasFocus());
    }
}

void TestKeyboard::enterPressesTheFocusedButton() {
    Keyboard keyboard;
    TForm1* main = keyboard.windows->main.get();
    QVERIFY(keyboard.active(main));
    main->BitBtn5->setFocus();
    QTest::keyClick(main->BitBtn5, Qt::Key_Return);
    TForm4* browser = keyboard.windows->browser.get();
    QVERIFY(browser->isVisible());

    QVERIFY(keyboard.active(browser));
    browser->BitBtn2->setFocus();
    QTest::keyClick(browser->BitBtn2, Qt::Key_Enter);
    QVERIFY(!browser->BitBtn2->isEnabled()); // "Refresh" is off while its sweep runs
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
