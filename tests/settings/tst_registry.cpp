#include "settings/Registry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "support/ErrorOf.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/StoreText.h"

#include <QDir>
#include <QTest>

namespace {

const QString kSelect = "Select the ZAM executable.";
const QString kNotFound = "ZAM Executable not found! Select the correct ZAM executable.";

// The launcher's key of a second run, with `extra` among its options.
QByteArray launcherKey(const QString& exe, const QList<StoreValue>& extra = {
                                               {"close", dword(0)}, {"watchers", dword(2)}}) {
    return StoreText().launcher(
        exe, QList<StoreValue>{{"nosplash", dword(1)}, {"window", dword(0)}} + extra +
                 QList<StoreValue>{{"sound1", quoted("a.wav")}, {"sound2", quoted("")}});
}

// A mod whose "checked" is spelled as given (empty: left out).
QByteArray modKey(const QString& id, const QString& name, const QByteArray& checked) {
    return StoreText::keysOnly().key(
        StoreKeys::modEntry(id),
        {{"name", quoted(name)}, {"dir", quoted(name + "dir")}, {"checked", checked}});
}

// A server whose "sockets" is spelled as given (empty: left out).
QByteArray serverKey(const QString& id, const QByteArray& sockets = dword(1)) {
    return StoreText::keysOnly().key(StoreKeys::serverEntry(id), {{"name", quoted("s" + id)},
                                                                  {"ip", quoted("127.0.0.1")},
                                                                  {"port", quoted("2302")},
                                                                  {"pass", quoted("")},
                                                                  {"mods", quoted("a;")},
                                                                  {"sockets", sockets}});
}

} // namespace

class TestRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRun();
    void firstRunWithCancelledDialog();
    void valuesOfOlderLaunchers();
    void missingExecutablePromptsOnce();
    void entriesLoadInSubkeyOrder();
    void badEntryStopsTheLoadButLosesNothing_data();
    void badEntryStopsTheLoadButLosesNothing();
    void tableBeyondCapacity();
    void saveKeepsWhatItDoesNotOwn();
    void saveWithoutLauncherKeyWritesNothing();
    void playerNameAndProfiles();
};

void TestRegistry::firstRun() {
    StoreFixture store;
    StoreTables t;
    const QString exe = store.existingFile();
    t.load(exe);

    QCOMPARE(t.prompts, QStringList{kSelect});
    QCOMPARE(t.settings.ExecutablePath, exe);
    QCOMPARE(t.settings.SkipSplash, true);
    QCOMPARE(t.settings.Windowed, false);
    QCOMPARE(t.settings.SoundMode, 1);
    QCOMPARE(t.settings.Sound1, QString("none"));
    QCOMPARE(t.settings.Sound2, QString("none"));
    QCOMPARE(t.mods->Last, -1);
    QCOMPARE(t.servers->Last, -1);

    SettingsStore reread;
    reread.setRootKey(RootKey::CurrentUser);
    QVERIFY(reread.openKey(StoreKeys::Launcher, false));
    QCOMPARE(reread.readString("executable"), exe);
    QCOMPARE(reread.readInteger("nosplash"), 1);
    QCOMPARE(reread.readInteger("window"), 0);
    QCOMPARE(reread.readInteger("close"), 0);
    QCOMPARE(reread.readInteger("watchers"), 1);
    QCOMPARE(reread.readString("o_sound1"), QString("none"));
    QCOMPARE(reread.readString("o_sound2"), QString("none"));
    QCOMPARE(storedKeys(StoreKeys::Mods), QStringList{});
    QCOMPARE(storedKeys(StoreKeys::Servers), QStringList{});
}

void TestRegistry::firstRunWithCancelledDialog() {
    StoreFixture store;
    StoreTables t;
    t.load();
    QCOMPARE(t.prompts, (QStringList{kSelect, kNotFound}));
}

void TestRegistry::valuesOfOlderLaunchers() {
    StoreFixture store;
    store.write(launcherKey(store.existingFile(), {}));
    StoreTables t;
    t.settings.CloseAfterLaunch = true;
    t.load();
    QCOMPARE(t.settings.CloseAfterLaunch, false);
    QCOMPARE(t.settings.SoundMode, 1);
    QCOMPARE(t.settings.Sound1, QString("a.wav"));
    QCOMPARE(t.settings.Sound2, QString("none"));
}

void TestRegistry::missingExecutablePromptsOnce() {
    StoreFixture store;
    store.write(launcherKey("/nowhere/zam.exe"));
    StoreTables t;
    t.load("/still/nowhere.exe");
    QCOMPARE(t.prompts, QStringList{kNotFound});
    QCOMPARE(t.settings.ExecutablePath, QString("/still/nowhere.exe"));
    SettingsStore reread;
    reread.openKey(StoreKeys::Launcher, false);
    QCOMPARE(reread.readString("executable"), QString("/still/nowhere.exe"));
}

void TestRegistry::entriesLoadInSubkeyOrder() {
    StoreFixture store;
    store.write(launcherKey(store.existingFile()) + modKey("9", "nine", dword(1)) +
                modKey("100", "hundred", dword(0)) + modKey("10", "ten", dword(5)));
    StoreTables t;
    t.load();
    QCOMPARE(t.mods->Last, 2);
    QCOMPARE(t.mods->Name[0], QString("ten"));
    QCOMPARE(t.mods->Name[1], QString("hundred"));
    QCOMPARE(t.mods->Name[2], QString("nine"));
    QCOMPARE(t.mods->Id[0], 10);
    QCOMPARE(t.mods->Checked[0], true);
    QCOMPARE(t.mods->Checked[1], false);
    QCOMPARE(t.mods->Dir[2], QString("ninedir"));

    // A save and a load give the same table.
    t.save();
    StoreTables again;
    again.load();
    QCOMPARE(again.mods->Last, 2);
    for (int k = 0; k <= 2; ++k) {
        QCOMPARE(again.mods->Id[k], t.mods->Id[k]);
        QCOMPARE(again.mods->Name[k], t.mods->Name[k]);
        QCOMPARE(again.mods->Checked[k], t.mods->Checked[k]);
    }
    QCOMPARE(again.settings.SoundMode, 2);
}

void TestRegistry::badEntryStopsTheLoadButLosesNothing_data() {
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("modsLoaded");
    QTest::addColumn<int>("serversLoaded");

    const QByteArray ok = dword(1);
    QTest::newRow("subkey name not a number")
        << modKey("1", "a", ok) + modKey("2x", "b", ok) + modKey("3", "c", ok) + serverKey("7")
        << "'2x' is not a valid integer value" << 1 << 0;
    QTest::newRow("checked missing") << modKey("1", "a", ok) + modKey("2", "b", "") + serverKey("7")
                                     << "Failed to get data for 'checked'" << 1 << 0;
    QTest::newRow("checked of the wrong kind") << modKey("1", "a", quoted("yes")) + serverKey("7")
                                               << "Invalid data type for 'checked'" << 0 << 0;
    QTest::newRow("server without sockets")
        << modKey("1", "a", ok) + serverKey("7") + serverKey("8", "")
        << "Failed to get data for 'sockets'" << 1 << 1;
}

void TestRegistry::badEntryStopsTheLoadButLosesNothing() {
    QFETCH(QByteArray, entries);
    QFETCH(QString, message);
    QFETCH(int, modsLoaded);
    QFETCH(int, serversLoaded);

    StoreFixture store;
    store.write(launcherKey(store.existingFile()) + entries);
    const QStringList modsBefore = storedKeys(StoreKeys::Mods);
    const QStringList serversBefore = storedKeys(StoreKeys::Servers);

    StoreTables t;
    QCOMPARE(errorOf([&] { t.load(); }), message);
    QCOMPARE(t.mods->Last, modsLoaded - 1);
    QCOMPARE(t.servers->Last, serversLoaded - 1);

    // Closing the main window saves; the entries the load could not read
    // must still be in the store afterwards.
    t.save();
    QCOMPARE(storedKeys(StoreKeys::Mods), modsBefore);
    QCOMPARE(storedKeys(StoreKeys::Servers), serversBefore);
}

void TestRegistry::tableBeyondCapacity() {
    StoreFixture store;
    QByteArray text = launcherKey(store.existingFile());
    for (int id = 0; id < SLOT_COUNT + 5; ++id)
        text += serverKey(QString::number(100000 + id));
    store.write(text);

    StoreTables t;
    const LoadOutcome outcome = t.load();
    QCOMPARE(t.servers->Last, SLOT_COUNT - 1);
    QCOMPARE(t.servers->UnloadedKeys.size(), 5);
    QCOMPARE(outcome.notices.size(), 1);
    QVERIFY(outcome.notices[0].contains("1025 servers"));

    t.save();
    QCOMPARE(storedKeys(StoreKeys::Servers).size(), SLOT_COUNT + 5);
}

void TestRegistry::saveKeepsWhatItDoesNotOwn() {
    StoreFixture store;
    store.write(
        launcherKey(store.existingFile(), {{"extra", "hex:01,02,03"}, {"watchers", dword(0)}}) +
        modKey("5", "a", dword(1)) +
        StoreText::keysOnly().key("HKEY_CURRENT_USER\\Software\\Another Program",
                                  {{"keep", quoted("me")}}));
    StoreTables t;
    t.load();
    t.mods->Name[0] = "renamed";
    t.save();

    const QByteArray saved = store.read();
    QVERIFY(saved.contains("\"extra\"=hex:01,02,03"));
    QVERIFY(saved.contains("[HKEY_CURRENT_USER\\Software\\Another Program]\n\"keep\"=\"me\""));
    QVERIFY(saved.contains("\"name\"=\"renamed\""));
    QVERIFY(!saved.contains("\"close\"=dword:00000001"));
}

void TestRegistry::saveWithoutLauncherKeyWritesNothing() {
    StoreFixture store;
    StoreTables t;
    t.mods->Last = 0;
    t.save();
    QVERIFY(!QFile::exists(store.path()));
}

void TestRegistry::playerNameAndProfiles() {
    StoreFixture store;
    QTemporaryDir game;
    QDir(game.path()).mkpath("users/Alice");
    QDir(game.path()).mkpath("users/.hidden");
    QFile(game.filePath("users/Bob.txt")).open(QIODevice::WriteOnly);
    QString gameDir = game.path();
    gameDir.replace('/', '\\');
    store.write(launcherKey(store.existingFile()) +
                StoreText::keysOnly().gameDir(gameDir).playerName("Sir Bob"));

    StoreTables t;
    LoadOutcome outcome = t.load();
    QCOMPARE(outcome.playerName, QString("Sir Bob"));
    outcome.profileNames.sort();
    QCOMPARE(outcome.profileNames, (QStringList{".hidden", "Alice", "Bob.txt"}));

    // Without a users folder the list is empty and the name still shows.
    QDir(game.filePath("users")).removeRecursively();
    outcome = t.load();
    QCOMPARE(outcome.playerName, QString("Sir Bob"));
    QCOMPARE(outcome.profileNames, QStringList{});
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
