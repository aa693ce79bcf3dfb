#include "WindowSteps.h"
#include "dialogs/InternetServersGroup.h"
#include "dialogs/RunnerGroup.h"
#include "settings/Tables.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/SteamFixture.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<StoreValue> options(int watchers) {
    return {{"nosplash", dword(1)},        {"window", dword(0)},        {"close", dword(0)},
            {"watchers", dword(watchers)}, {"sound1", quoted("a.wav")}, {"sound2", quoted("")}};
}

QString checkedMode(const TFormOptions* form) {
    QStringList checked;
    for (const QRadioButton* button : {form->sounds1, form->sounds2, form->sounds3})
        if (button->isChecked())
            checked << button->objectName();
    return checked.join(u',');
}

// Enabled states of sound1, sound2 and their "..." buttons.
QList<bool> customSoundControls(const TFormOptions* form) {
    return {form->sound1->isEnabled(), form->sound2->isEnabled(), form->Button2->isEnabled(),
            form->Button1->isEnabled()};
}

struct Dialog {
    explicit Dialog(int watchers) {
        store.write(StoreText().launcher(store.existingFile(), options(watchers)));
        windows = std::make_unique<LauncherWindows>();
        form = windows->options.get();
    }
    StoreFixture store;
    InstalledPrompts prompts;
    std::unique_ptr<LauncherWindows> windows;
    TFormOptions* form;
};

} // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void activationShowsSettings_data();
    void activationShowsSettings();
    void storedOnOkOnly_data();
    void storedOnOkOnly();
    void browse_data();
    void browse();
    void runners_data();
    void runners();
    void internetServers_data();
    void internetServers();
};

// An activation checks the button of the stored mode; only a change of the
// checked button updates the custom-sound controls.
void TestOptionsDialog::activationShowsSettings_data() {
    QTest::addColumn<int>("earlierMode"); // -1: first showing
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("customEnabled");

    QTest::newRow("first run: default sounds") << -1 << 1 << "sounds2" << false;
    QTest::newRow("disabled") << -1 << 0 << "sounds1" << false;
    QTest::newRow("custom") << -1 << 2 << "sounds3" << true;
    QTest::newRow("out of range, first showing") << -1 << 7 << "" << true;
    QTest::newRow("out of range keeps earlier state") << 1 << -3 << "" << false;
    QTest::newRow("custom after disabled") << 0 << 2 << "sounds3" << true;
    QTest::newRow("disabled after custom") << 2 << 0 << "sounds1" << false;
}

void TestOptionsDialog::activationShowsSettings() {
    QFETCH(int, earlierMode);
    QFETCH(int, mode);
    QFETCH(QString, checked);
    QFETCH(bool, customEnabled);

    Dialog dialog(earlierMode < 0 ? mode : earlierMode);
    TFormOptions* form = dialog.form;
    QVERIFY(bringUp(form));
    if (earlierMode >= 0) { // come back from the main window to a changed mode
        QVERIFY(bringUp(dialog.windows->main.get()));
        launcherSettings.SoundMode = mode;
        QVERIFY(bringUp(form));
    }

    QCOMPARE(checkedMode(form), checked);
    QCOMPARE(customSoundControls(form), QList<bool>(4, customEnabled));
    QCOMPARE(form->sound1->text(), QString("a.wav"));
    QCOMPARE(form->sound2->text(), QString("none"));
    QVERIFY(form->CheckBox1->isChecked());
    QVERIFY(!form->CheckBox2->isChecked());
}

void TestOptionsDialog::storedOnOkOnly_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("choose"); // radio button to click, if any
    QTest::addColumn<QString>("sound1");
    QTest::addColumn<QString>("close"); // the button, or "" for the title bar's close box
    QTest::addColumn<int>("storedMode");
    QTest::addColumn<QString>("storedSound1"); // after the next load

    QTest::newRow("OK custom") << 1 << "sounds3"
                               << "new.wav"
                               << "BitBtn2" << 2 << "new.wav";
    QTest::newRow("OK disabled keeps texts") << 2 << "sounds1"
                                             << "b.wav"
                                             << "BitBtn2" << 0 << "b.wav";
    QTest::newRow("OK empty sound") << 1 << ""
                                    << ""
                                    << "BitBtn2" << 1 << "none";
    QTest::newRow("OK keeps mode out of range") << 9 << ""
                                                << "a.wav"
                                                << "BitBtn2" << 9 << "a.wav";
    QTest::newRow("Cancel") << 1 << "sounds3"
                            << "new.wav"
                            << "BitBtn1" << 1 << "a.wav";
    QTest::newRow("close box") << 1 << "sounds1"
                               << "new.wav"
                               << "" << 1 << "a.wav";
}

void TestOptionsDialog::storedOnOkOnly() {
    QFETCH(int, mode);
    QFETCH(QString, choose);
    QFETCH(QString, sound1);
    QFETCH(QString, close);
    QFETCH(int, storedMode);
    QFETCH(QString, storedSound1);

    Dialog dialog(mode);
    TFormOptions* form = dialog.form;
    QVERIFY(bringUp(form));
    const QByteArray before = dialog.store.read();
    if (!choose.isEmpty())
        QTest::mouseClick(form->findChild<QRadioButton*>(choose), Qt::LeftButton);
    form->CheckBox2->click();
    form->sound1->setText(sound1);
    if (close.isEmpty())
        form->close();
    else
        form->findChild<QPushButton*>(close)->click();
    QVERIFY(!form->isVisible());

    const bool ok = close == "BitBtn2";
    if (ok) {
        QCOMPARE(launcherSettings.Sound1, sound1); // as typed, even when empty
    } else {
        QCOMPARE(dialog.store.read(), before);
    }
    QCOMPARE(launcherSettings.Windowed, ok);
    QCOMPARE(launcherSettings.SoundMode, storedMode);
    dialog.windows->main->ReadRegistry();
    QCOMPARE(launcherSettings.SoundMode, storedMode);
    QCOMPARE(launcherSettings.Sound1, storedSound1);
    QCOMPARE(launcherSettings.Windowed, ok);
}

// Both "..." buttons share one file dialog; a cancelled dialog leaves the edit.
void TestOptionsDialog::browse_data() {
    QTest::addColumn<QStringList>("answers"); // per click; a null string cancels
    QTest::addColumn<QString>("sound1");
    QTest::addColumn<QString>("sound2");

    QTest::newRow("chosen") << QStringList{"/x/one.wav"} << "/x/one.wav"
                            << "none";
    QTest::newRow("cancelled") << QStringList{QString()} << "a.wav"
                               << "none";
    QTest::newRow("second button") << QStringList{"/x/one.wav", "/x/two.wav"} << "/x/one.wav"
                                   << "/x/two.wav";
    QTest::newRow("second cancelled") << QStringList{"/x/one.wav", QString()} << "/x/one.wav"
                                      << "none";
}

void TestOptionsDialog::browse() {
    QFETCH(QStringList, answers);
    QFETCH(QString, sound1);
    QFETCH(QString, sound2);

    Dialog dialog(2);
    TFormOptions* form = dialog.form;
    QVERIFY(bringUp(form));
    dialog.prompts->fileAnswers = answers;
    form->Button2->click();
    if (answers.size() > 1)
        form->Button1->click();

    QCOMPARE(form->sound1->text(), sound1);
    QCOMPARE(form->sound2->text(), sound2);
    QCOMPARE(dialog.prompts->fileDialogs,
             QStringList(answers.size(), "WAV files|*.wav|All files|*.*"));
}

// The group offers the Proton versions Steam installed, each once; OK
// stores what the controls show, Cancel writes nothing, and the main
// window's executable tooltip names the runner that will start the game.
void TestOptionsDialog::runners_data() {
    QTest::addColumn<QByteArray>("proton"); // the stored Proton folder, runner 1; "": none
    QTest::addColumn<int>("storedRunner");  // -1: none stored
    QTest::addColumn<QString>("step");      // "proton version", "wine browse" or ""
    QTest::addColumn<QString>("close");     // the button
    QTest::addColumn<int>("runner");        // after the next load
    QTest::addColumn<QString>("folder");    // the Wine program or Proton folder; {v} a version
    QTest::addColumn<QString>("toolTip");

    const QByteArray proton = quoted("/old/Proton");
    QTest::newRow("OK, Proton version picked")
        << QByteArray() << -1 << "proton version"
        << "BitBtn2" << 1 << "{v}"
        << "Started through Proton: {v}\nLaunch options: DXVK_HUD=1 %command%";
    QTest::newRow("Cancel") << proton << 1 << "wine browse"
                            << "BitBtn1" << 1 << "/old/Proton"
                            << "Started through Proton: /old/Proton";
    QTest::newRow("OK, Wine chosen") << proton << 1 << "wine browse"
                                     << "BitBtn2" << 0 << "/opt/wine"
                                     << "Started through Wine: /opt/wine\nLaunch options: "
                                        "DXVK_HUD=1 %command%";
    QTest::newRow("OK keeps an unknown runner")
        << QByteArray() << 7 << ""
        << "BitBtn2" << 7 << ""
        << "Started through Wine: wine from PATH\nLaunch options: DXVK_HUD=1 %command%";
}

void TestOptionsDialog::runners() {
    QFETCH(QByteArray, proton);
    QFETCH(int, storedRunner);
    QFETCH(QString, step);
    QFETCH(QString, close);
    QFETCH(int, runner);
    QFETCH(QString, folder);
    QFETCH(QString, toolTip);

    SteamFixture steam;
    steam.linkSteam(); // the same versions under both folders, each offered once
    steam.addProton("Proton 10.0");
    const QString version = steam.addProton("Proton 9.0");
    QDir().mkpath(steam.steam + "/steamapps/common/Proton without script");
    const QString exe = steam.pfx + "/drive_c/zam.exe";
    QFile game(exe);
    QVERIFY(game.open(QIODevice::WriteOnly));
    game.write("MZ\x90\x00", 4);
    game.close();
    StoreFixture store;
    QList<StoreValue> stored{{"nosplash", dword(1)}, {"window", dword(0)}};
    if (storedRunner >= 0)
        stored << StoreValue{"runner", dword(storedRunner)} << StoreValue{"proton", proton};
    store.write(StoreText().launcher(exe, stored));
    InstalledPrompts prompts;
    LauncherWindows windows;
    TFormOptions* form = windows.options.get();
    RunnerGroup* group = form->Runners;
    QVERIFY(bringUp(form));
    const QByteArray before = store.read();

    QCOMPARE(group->protonVersions->count(), 2);
    QCOMPARE(group->protonVersions->itemText(0), QString("Proton 9.0"));
    QCOMPARE(group->wineButton->isChecked() || group->protonButton->isChecked(), runner != 7);
    if (step == "proton version") {
        group->protonVersions->setCurrentIndex(0);
        Q_EMIT group->protonVersions->activated(0);
        QVERIFY(group->protonButton->isChecked());
        QVERIFY(!group->winePath->isEnabled());
    } else if (step == "wine browse") {
        prompts->fileAnswers = {"/opt/wine"};
        group->wineButton->click();
        group->wineBrowse->click();
    }
    group->launchOptions->setText("DXVK_HUD=1 %command%");
    form->findChild<QPushButton*>(close)->click();
    if (close == "BitBtn1")
        QCOMPARE(store.read(), before);

    windows.main->ReadRegistry();
    const RunnerSettings& loaded = launcherSettings.Runner;
    folder.replace("{v}", version);
    QCOMPARE(loaded.runner, runner);
    QCOMPARE(runner == RunnerSettings::Wine ? loaded.wine : loaded.proton, folder);
    QHelpEvent help(QEvent::ToolTip, QPoint(1, 1),
                    windows.main->exenimi->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(windows.main->exenimi, &help);
    QCOMPARE(windows.main->exenimi->toolTip(), exe + '\n' + toolTip.replace("{v}", version));
}

// The internet server fields show the stored texts; OK stores what was
// typed, Cancel nothing; a value of another kind stays in the store untouched.
void TestOptionsDialog::internetServers_data() {
    QTest::addColumn<QByteArray>("stored"); // "masters" as spelled in the file; empty: none
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed"); // null: nothing typed
    QTest::addColumn<QString>("close");
    QTest::addColumn<QByteArray>("inFile");

    const QByteArray texts = quoted("one.example:28900");
    QTest::newRow("OK") << texts << "one.example:28900"
                        << "a.example:28900; b.example:28900"
                        << "BitBtn2"
                        << "\"masters\"=\"a.example:28900; b.example:28900\"\n"_ba;
    QTest::newRow("Cancel") << texts << "one.example:28900"
                            << "a.example:1"
                            << "BitBtn1"
                            << "\"masters\"=\"one.example:28900\"\n"_ba;
    QTest::newRow("none stored, OK untouched")
        << QByteArray() << "" << QString() << "BitBtn2" << QByteArray();
    QTest::newRow("wrong kind stays") << dword(1) << "" << QString() << "BitBtn2"
                                      << "\"masters\"=dword:00000001\n"_ba;
}

void TestOptionsDialog::internetServers() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, close);
    QFETCH(QByteArray, inFile);

    Dialog dialog(1);
    QList<StoreValue> values = options(1);
    if (!stored.isEmpty())
        values << StoreValue{"masters", stored} << StoreValue{"mastergame", quoted("zam")}
               << StoreValue{"masterkey", quoted("Xy7kQ2")};
    dialog.store.write(StoreText().launcher(dialog.store.existingFile(), values));
    dialog.windows->main->ReadRegistry();
    TFormOptions* form = dialog.form;
    QVERIFY(bringUp(form));
    QCOMPARE(form->internetServers->masters->text(), shown);
    if (!typed.isNull())
        form->internetServers->masters->setText(typed);
    form->findChild<QPushButton*>(close)->click();

    const QByteArray file = dialog.store.read();
    if (inFile.isEmpty())
        QVERIFY2(!file.contains("master"), file.constData());
    else
        QVERIFY2(file.contains(inFile), file.constData());
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
