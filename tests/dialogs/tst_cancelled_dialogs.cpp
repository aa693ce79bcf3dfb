#include "WindowSteps.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// The launcher on a store with one mod and one server, and a way to tell
// whether anything reached the store or the state.
struct Launcher {
    explicit Launcher(const QString& exe = {}) {
        store.write(
            StoreText()
                .launcher(exe.isNull() ? store.existingFile() : exe, {{"nosplash", dword(1)},
                                                                      {"window", dword(0)},
                                                                      {"close", dword(0)},
                                                                      {"sound1", quoted("a.wav")}})
                .mod(7, "Alpha", "alpha", false)
                .server(9, {"one", "one.example", "2302", "pw-one", true, ""}));
        before = store.read();
        windows = std::make_unique<LauncherWindows>();
        settingsBefore = launcherSettings.Sound1 + launcherSettings.ExecutablePath;
    }
    bool unchanged() const {
        return store.read() == before &&
               launcherSettings.Sound1 + launcherSettings.ExecutablePath == settingsBefore &&
               modTable.Name[0] == "Alpha" && modTable.Last == 0 && serverTable.Last == 0;
    }

    StoreFixture store;
    InstalledPrompts prompts;
    QByteArray before;
    std::unique_ptr<LauncherWindows> windows;
    QString settingsBefore;
};

// Types into an edit of a shown window, then cancels; returns the edit whose
// text must still be what was typed (none where the window is gone).
using Cancel = QLineEdit* (*)(Launcher&);

QLineEdit* typeInto(QWidget* window, QLineEdit* edit) {
    if (!bringUp(window))
        return nullptr;
    edit->setText(QStringLiteral("typed"));
    return edit;
}

const std::pair<const char*, Cancel> kCancels[] = {
    {"change: file dialog cancelled",
     [](Launcher& l) {
         l.prompts->fileAnswers << QString();
         l.windows->main->Button1->click();
         return static_cast<QLineEdit*>(nullptr);
     }},
    {"options: Cancel",
     [](Launcher& l) {
         typeInto(l.windows->options.get(), l.windows->options->sound1);
         l.windows->options->CheckBox2->click();
         l.windows->options->BitBtn1->click();
         return static_cast<QLineEdit*>(nullptr);
     }},
    {"options: Escape",
     [](Launcher& l) {
         typeInto(l.windows->options.get(), l.windows->options->sound1);
         QTest::keyClick(l.windows->options.get(), Qt::Key_Escape);
         return static_cast<QLineEdit*>(nullptr);
     }},
    {"options: close box",
     [](Launcher& l) {
         typeInto(l.windows->options.get(), l.windows->options->sound1);
         l.windows->options->close();
         return static_cast<QLineEdit*>(nullptr);
     }},
    {"options: sound file dialog cancelled",
     [](Launcher& l) {
         QLineEdit* edit = typeInto(l.windows->options.get(), l.windows->options->sound1);
         l.prompts->fileAnswers << QString();
         l.windows->options->Button2->click();
         return edit;
     }},
    {"mods: delete answered No",
     [](Launcher& l) {
         QLineEdit* edit = typeInto(l.windows->mods.get(), l.windows->mods->Name);
         l.prompts->confirmAnswer = false;
         l.windows->mods->BitBtn1->click();
         return edit;
     }},
    {"mods: Escape",
     [](Launcher& l) {
         typeInto(l.windows->mods.get(), l.windows->mods->Name);
         QTest::keyClick(l.windows->mods->Name, Qt::Key_Escape);
         return static_cast<QLineEdit*>(nullptr);
     }},
    {"servers: delete answered No",
     [](Launcher& l) {
         QLineEdit* edit = typeInto(l.windows->servers.get(), l.windows->servers->name);
         l.prompts->confirmAnswer = false;
         l.windows->servers->BitBtn2->click();
         return edit;
     }},
    {"servers: close box",
     [](Launcher& l) {
         typeInto(l.windows->servers.get(), l.windows->servers->host);
         l.windows->servers->close();
         return static_cast<QLineEdit*>(nullptr);
     }},
};

} // namespace

class TestCancelledDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void cancelWritesNothing_data();
    void cancelWritesNothing();
    void missingExecutablePromptCancelled();
};

void TestCancelledDialogs::cancelWritesNothing_data() {
    QTest::addColumn<int>("cancel");
    for (int i = 0; i < int(std::size(kCancels)); ++i)
        QTest::newRow(kCancels[i].first) << i;
}

// A cancel, Escape, "&No" or the close box leaves the store and the state as
// they were, and an edit as it was typed.
void TestCancelledDialogs::cancelWritesNothing() {
    QFETCH(int, cancel);
    Launcher launcher;
    QVERIFY(bringUp(launcher.windows->main.get()));
    QLineEdit* kept = kCancels[cancel].second(launcher);
    QVERIFY(launcher.prompts->errors.isEmpty());
    QVERIFY(launcher.unchanged());
    if (kept)
        QCOMPARE(kept->text(), QString("typed"));
    launcher.windows->main->SaveRegistry();
    QVERIFY(launcher.unchanged());
}

// The load's own prompt for a missing executable: a cancel keeps the stored
// path, which the main window still shows.
void TestCancelledDialogs::missingExecutablePromptCancelled() {
    Launcher launcher("/nowhere/zam.exe");
    QCOMPARE(launcher.prompts->fileDialogs.size(), 1);
    QVERIFY(launcher.unchanged());
    QCOMPARE(launcher.windows->main->exenimi->text(), QString("/nowhere/zam.exe"));
}

QTEST_MAIN(TestCancelledDialogs)
#include "tst_cancelled_dialogs.moc"
