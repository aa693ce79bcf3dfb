#include "base/LauncherError.h"
#include "settings/Registry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "support/StoreFixture.h"

#include <QDir>
#include <QTest>

namespace {

const QString kSelect = "Select the ZAM executable.";
const QString kNotFound = "ZAM Executable not found! Select the correct ZAM executable.";

// Tables are large; the tests keep theirs on the heap.
struct Tables {
    LauncherSettings settings;
    std::unique_ptr<ModTable> mods = std::make_unique<ModTable>();
    std::unique_ptr<ServerTable> servers = std::make_unique<ServerTable>();
};

QByteArray launcherKey(const QString& exe, const QByteArray& extra = "\"close\"=dword:00000000\n"
                                                                     "\"watchers\"=dword:00000002\n") {
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"executable\"=\"" +
           exe.toUtf8() + "\"\n\"nosplash\"=dword:00000001\n\"window\"=dword:00000000\n" + extra +
           "\"sound1\"=\"a.wav\"\n\"sound2\"=\"\"\n\n";
}

QByteArray modKey(const QByteArray& id, const QByteArray& name, const QByteArray& checked) {
    return "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods\\" + id + "]\n\"name\"=\"" + name +
           "\"\n\"dir\"=\"" + name + "dir\"\n" + checked + "\n";
}

QByteArray serverKey(const QByteArray& id, const QByteArray& sockets = "\"sockets\"=dword:00000001") {
    return "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\servers\\" + id + "]\n\"name\"=\"s" + id +
           "\"\n\"ip\"=\"127.0.0.1\"\n\"port\"=\"2302\"\n\"pass\"=\"\"\n\"mods\"=\"a;\"\n" +
           sockets + "\n\n";
}

QStringList subkeys(const QString& path) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    return store.openKey(path, false) ? store.getKeyNames() : QStringList{"<missing>"};
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
    Tables t;
    const QString exe = store.existingFile();
    QStringList prompts;
    loadRegistry(t.settings, *t.mods, *t.servers, [&](const QString& message) {
        prompts << message;
        return exe;
    });

    QCOMPARE(prompts, QStringList{kSelect});
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
    QCOMPARE(subkeys(StoreKeys::Mods), QStringList{});
    QCOMPARE(subkeys(StoreKeys::Servers), QStringList{});
}

void TestRegistry::firstRunWithCancelledDialog() {
    StoreFixture store;
    Tables t;
    QStringList prompts;
    loadRegistry(t.settings, *t.mods, *t.servers, [&](const QString& message) {
        prompts << message;
        return QString();
    });
    QCOMPARE(prompts, (QStringList{kSelect, kNotFound}));
}

void TestRegistry::valuesOfOlderLaunchers() {
    StoreFixture store;
    store.write(launcherKey(store.existingFile(), ""));
    Tables t;
    t.settings.CloseAfterLaunch = true;
    loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    QCOMPARE(t.settings.CloseAfterLaunch, false);
    QCOMPARE(t.settings.SoundMode, 1);
    QCOMPARE(t.settings.Sound1, QString("a.wav"));
    QCOMPARE(t.settings.Sound2, QString("none"));
}

void TestRegistry::missingExecutablePromptsOnce() {
    StoreFixture store;
    store.write(launcherKey("/nowhere/zam.exe"));
    Tables t;
    QStringList prompts;
    loadRegistry(t.settings, *t.mods, *t.servers, [&](const QString& message) {
        prompts << message;
        return QString("/still/nowhere.exe");
    });
    QCOMPARE(prompts, QStringList{kNotFound});
    QCOMPARE(t.settings.ExecutablePath, QString("/still/nowhere.exe"));
    SettingsStore reread;
    reread.openKey(StoreKeys::Launcher, false);
    QCOMPARE(reread.readString("executable"), QString("/still/nowhere.exe"));
}

void TestRegistry::entriesLoadInSubkeyOrder() {
    StoreFixture store;
    store.write(launcherKey(store.existingFile()) + modKey("9", "nine", "\"checked\"=dword:00000001") +
                modKey("100", "hundred", "\"checked\"=dword:00000000") +
                modKey("10", "ten", "\"checked\"=dword:00000005"));
    Tables t;
    loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    QCOMPARE(t.mods->Last, 2);
    QCOMPARE(t.mods->Name[0], QString("ten"));
    QCOMPARE(t.mods->Name[1], QString("hundred"));
    QCOMPARE(t.mods->Name[2], QString("nine"));
    QCOMPARE(t.mods->Id[0], 10);
    QCOMPARE(t.mods->Checked[0], true);
    QCOMPARE(t.mods->Checked[1], false);
    QCOMPARE(t.mods->Dir[2], QString("ninedir"));

    // A save and a load give the same table.
    saveRegistry(t.settings, *t.mods, *t.servers);
    Tables again;
    loadRegistry(again.settings, *again.mods, *again.servers, [](const QString&) { return QString(); });
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

    const QByteArray ok = "\"checked\"=dword:00000001";
    QTest::newRow("subkey name not a number")
        << modKey("1", "a", ok) + modKey("2x", "b", ok) + modKey("3", "c", ok) + serverKey("7")
        << "'2x' is not a valid integer value" << 1 << 0;
    QTest::newRow("checked missing")
        << modKey("1", "a", ok) + modKey("2", "b", "") + serverKey("7")
        << "Failed to get data for 'checked'" << 1 << 0;
    QTest::newRow("checked of the wrong kind")
        << modKey("1", "a", "\"checked\"=\"yes\"") + serverKey("7")
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
    const QStringList modsBefore = subkeys(StoreKeys::Mods);
    const QStringList serversBefore = subkeys(StoreKeys::Servers);

    Tables t;
    try {
        loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
        QFAIL("the load should have stopped");
    } catch (const LauncherError& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(t.mods->Last, modsLoaded - 1);
    QCOMPARE(t.servers->Last, serversLoaded - 1);

    // Closing the main window saves; the entries the load could not read
    // must still be in the store afterwards.
    saveRegistry(t.settings, *t.mods, *t.servers);
    QCOMPARE(subkeys(StoreKeys::Mods), modsBefore);
    QCOMPARE(subkeys(StoreKeys::Servers), serversBefore);
}

void TestRegistry::tableBeyondCapacity() {
    StoreFixture store;
    QByteArray text = launcherKey(store.existingFile());
    for (int id = 0; id < SLOT_COUNT + 5; ++id)
        text += serverKey(QByteArray::number(100000 + id));
    store.write(text);

    Tables t;
    const LoadOutcome outcome =
        loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    QCOMPARE(t.servers->Last, SLOT_COUNT - 1);
    QCOMPARE(t.servers->UnloadedKeys.size(), 5);
    QCOMPARE(outcome.notices.size(), 1);
    QVERIFY(outcome.notices[0].contains("1025 servers"));

    saveRegistry(t.settings, *t.mods, *t.servers);
    QCOMPARE(subkeys(StoreKeys::Servers).size(), SLOT_COUNT + 5);
}

void TestRegistry::saveKeepsWhatItDoesNotOwn() {
    StoreFixture store;
    store.write(launcherKey(store.existingFile(), "\"extra\"=hex:01,02,03\n\"watchers\"=dword:00000000\n") +
                modKey("5", "a", "\"checked\"=dword:00000001") +
                "[HKEY_CURRENT_USER\\Software\\Another Program]\n\"keep\"=\"me\"\n\n");
    Tables t;
    loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    t.mods->Name[0] = "renamed";
    saveRegistry(t.settings, *t.mods, *t.servers);

    const QByteArray saved = store.read();
    QVERIFY(saved.contains("\"extra\"=hex:01,02,03"));
    QVERIFY(saved.contains("[HKEY_CURRENT_USER\\Software\\Another Program]\n\"keep\"=\"me\""));
    QVERIFY(saved.contains("\"name\"=\"renamed\""));
    QVERIFY(!saved.contains("\"close\"=dword:00000001"));
}

void TestRegistry::saveWithoutLauncherKeyWritesNothing() {
    StoreFixture store;
    Tables t;
    t.mods->Last = 0;
    saveRegistry(t.settings, *t.mods, *t.servers);
    QVERIFY(!QFile::exists(store.path()));
}

void TestRegistry::playerNameAndProfiles() {
    StoreFixture store;
    QTemporaryDir game;
    QDir(game.path()).mkpath("users/Alice");
    QDir(game.path()).mkpath("users/.hidden");
    QFile(game.filePath("users/Bob.txt")).open(QIODevice::WriteOnly);
    QString gameDir = game.path();
    gameDir.replace('/', "\\\\");

    const QByteArray gameKeys =
        "[HKEY_LOCAL_MACHINE\\Software\\Harrowmede\\Operation Quellgrove]\n\"MAIN\"=\"" +
        gameDir.toUtf8() +
        "\"\n\n[HKEY_CURRENT_USER\\Software\\Harrowmede\\Operation Quellgrove]\n"
        "\"Player Name\"=\"Sir Bob\"\n\n";
    store.write(launcherKey(store.existingFile()) + gameKeys);

    Tables t;
    LoadOutcome outcome =
        loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    QCOMPARE(outcome.playerName, QString("Sir Bob"));
    outcome.profileNames.sort();
    QCOMPARE(outcome.profileNames, (QStringList{".hidden", "Alice", "Bob.txt"}));

    // Without a users folder the list is empty and the name still shows.
    QDir(game.filePath("users")).removeRecursively();
    outcome = loadRegistry(t.settings, *t.mods, *t.servers, [](const QString&) { return QString(); });
    QCOMPARE(outcome.playerName, QString("Sir Bob"));
    QCOMPARE(outcome.profileNames, QStringList{});
}

QTEST_GUILESS_MAIN(TestRegistry)
#include "tst_registry.moc"
