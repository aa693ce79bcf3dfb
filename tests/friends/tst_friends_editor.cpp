#include "dialogs/FriendOptions.h"
#include "dialogs/FriendsEditor.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {

// Windows on a store with the launcher's key and one friend.
struct Launcher {
    Launcher() {
        store.write(
            StoreText()
                .launcher(store.existingFile(),
                          {{"nosplash", dword(0)}, {"window", dword(0)}, {"close", dword(0)}})
                .friendEntry(5, "Ann"));
        windows = std::make_unique<LauncherWindows>();
    }
    QStringList shown(const FriendsEditor* editor) const {
        QStringList names;
        for (int row = 0; row < editor->FriendList->count(); ++row)
            names << editor->FriendList->item(row)->text();
        return names;
    }
    StoreFixture store;
    InstalledPrompts prompts;
    std::unique_ptr<LauncherWindows> windows;
};

} // namespace

class TestFriendsEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editsAreSavedAtOnce();
    void checkIntervalOnOkOnly_data();
    void checkIntervalOnOkOnly();
};

// Opened from the Options menu. A name listed already is selected, not
// listed again; renaming to another friend's name is refused; deleting asks.
void TestFriendsEditor::editsAreSavedAtOnce() {
    Launcher launcher;
    launcher.windows->main->Friends1->trigger();
    auto* editor = FriendsEditor::of(nullptr);
    QVERIFY(editor->isVisible());
    QCOMPARE(launcher.shown(editor), QStringList{"Ann"});

    const auto type = [&](const QString& name, QPushButton* button) {
        editor->FriendName->setText(name);
        button->click();
    };
    type("  Bob ", editor->AddButton);
    type("ANN", editor->AddButton);
    QCOMPARE(launcher.shown(editor), QStringList({"Ann", "Bob"}));
    QCOMPARE(editor->FriendList->currentRow(), 0);
    type("bob", editor->RenameButton);
    QCOMPARE(launcher.prompts->messages, QStringList{"Bob is listed already."});
    type("Cy", editor->RenameButton);
    QCOMPARE(launcher.shown(editor), QStringList({"Cy", "Bob"}));
    QVERIFY(launcher.store.read().contains(QByteArray(StoreText::keysOnly().friendEntry(5, "Cy"))));

    launcher.prompts->confirmAnswer = false;
    editor->DeleteButton->click();
    QCOMPARE(launcher.shown(editor), QStringList({"Cy", "Bob"}));
    launcher.prompts->confirmAnswer = true;
    editor->DeleteButton->click();
    QCOMPARE(launcher.prompts->confirmations, QStringList({"Are you sure?", "Are you sure?"}));
    QCOMPARE(launcher.shown(editor), QStringList{"Bob"});
    const QByteArray stored = launcher.store.read();
    QVERIFY(!stored.contains("Cy") && stored.contains("\"name\"=\"Bob\""));
}

void TestFriendsEditor::checkIntervalOnOkOnly_data() {
    QTest::addColumn<int>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("stored"); // "" when nothing is written
    QTest::newRow("ten minutes") << 600 << "BitBtn2" << QByteArray("dword:00000258");
    QTest::newRow("below the least") << 10 << "BitBtn2" << QByteArray("dword:0000001e");
    QTest::newRow("never") << 0 << "BitBtn2" << QByteArray("dword:00000000");
    QTest::newRow("unchanged") << 300 << "BitBtn2" << QByteArray();
    QTest::newRow("cancelled") << 600 << "BitBtn1" << QByteArray();
}

void TestFriendsEditor::checkIntervalOnOkOnly() {
    QFETCH(int, typed);
    QFETCH(QString, button);
    QFETCH(QByteArray, stored);
    Launcher launcher;
    TFormOptions* options = launcher.windows->options.get();
    options->show();
    QVERIFY(QTest::qWaitForWindowExposed(options));
    QCOMPARE(options->Friends->CheckSeconds->value(), 300);
    options->Friends->CheckSeconds->setValue(typed);
    options->findChild<QPushButton*>(button)->click();
    const QByteArray file = launcher.store.read();
    if (stored.isEmpty())
        QVERIFY(!file.contains("friendcheck"));
    else
        QVERIFY2(file.contains("\"friendcheck\"=" + stored), file.constData());
}

QTEST_MAIN(TestFriendsEditor)
#include "tst_friends_editor.moc"
