#include "settings/GamePaths.h"
#include "settings/Registry.h"
#include "settings/WineRegistry.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/StoreText.h"
#include "support/WinePrefixFixture.h"

#include <QDirIterator>
#include <QTest>

class TestWineRegistry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsText_data();
    void readsText();
    void pathsMapIntoThePrefix_data();
    void pathsMapIntoThePrefix();
    void gameKeysFromThePrefix_data();
    void gameKeysFromThePrefix();
    void defaultPrefixIsInHome();
};

namespace {

const QString kGameKey = "Software\\Harrowmede\\Operation Quellgrove";
const QString kWowGameKey = "Software\\Wow6432Node\\Harrowmede\\Operation Quellgrove";

const QByteArray kMachineKeys =
    R"([Software\\Wow6432Node\\Harrowmede\\Operation Quellgrove] 1700000000
#time=1da2b3c4d5e6f70
"MAIN"="C:\\Games\\ZAM"
"Version"=dword:00000105
)";

const QByteArray kUserKeys = R"([Software\\Harrowmede\\Operation Quellgrove] 1700000000
#time=1da2b3c4d5e6f70
"Player Name"="Ren\xe9 \"Z\""
)";

// Every file under a folder with its bytes, to see that nothing changed.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files[it.filePath()] =
            file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<dir>");
    }
    return files;
}

} // namespace

void TestWineRegistry::readsText_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected"); // null: not found

    const QByteArray header = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    const QByteArray key = "[Software\\\\Harrowmede\\\\Operation Quellgrove] 1700000000\n"
                           "#time=1da2b3c4d5e6f70\n";
    QTest::newRow("backslashes and quotes") << header + key + R"("MAIN"="C:\\Games\\Z \"A\" M")"
                                            << "MAIN"
                                            << R"(C:\Games\Z "A" M)";
    QTest::newRow("hex escapes of one to four digits")
        << header + key + R"("MAIN"="Ren\xe9 \x00e9e \x263a")"
        << "MAIN" << QString::fromUtf8("René ée ☺");
    QTest::newRow("octal and C escapes") << header + key + R"("MAIN"="\101\0015\tx\n")"
                                         << "MAIN"
                                         << QString("A\x01"
                                                    "5\tx\n");
    QTest::newRow("expandable text") << header + key + R"("MAIN"=str(2):"C:\\Games")"
                                     << "MAIN"
                                     << "C:\\Games";
    QTest::newRow("text without its zero, continued on the next line")
        << header + key + "\"MAIN\"=hex(1):43,00,3a,00,5c,00,\\\n  5a,00,41,00,4d,00\n"
        << "MAIN"
        << "C:\\ZAM";
    QTest::newRow("default value") << header + key + "@=\"x\"\n\"MAIN\"=\"y\"\n"
                                   << ""
                                   << "x";
    QTest::newRow("names and keys ignore case")
        << header + "[software\\\\HARROWMEDE\\\\operation quellgrove] 1\n\"main\"=\"d\"\n"
        << "MAIN"
        << "d";
    QTest::newRow("number is not text") << header + key + "\"MAIN\"=dword:00000001\n"
                                        << "MAIN" << QString();
    QTest::newRow("value of a subkey is not taken")
        << header + "[Software\\\\Harrowmede\\\\Operation Quellgrove\\\\Old] 1\n\"MAIN\"=\"old\"\n"
        << "MAIN" << QString();
    QTest::newRow("value after the key is left is not taken")
        << header + key + "\n[Software\\\\Other] 1\n\"MAIN\"=\"other\"\n"
        << "MAIN" << QString();
    QTest::newRow("unclosed text") << header + key + "\"MAIN\"=\"C:\\\\Gam\n"
                                   << "MAIN" << QString();
    QTest::newRow("not a Wine file") << "REGEDIT4\n\n" + key + "\"MAIN\"=\"x\"\n"
                                     << "MAIN" << QString();
}

void TestWineRegistry::readsText() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QFile out(dir.filePath("system.reg"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    const QString text = readWineRegistryText(out.fileName(), {kGameKey}, name);
    QCOMPARE(text.isNull(), expected.isNull());
    QCOMPARE(text, expected);
}

void TestWineRegistry::pathsMapIntoThePrefix_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // <prefix> stands for the prefix

    QTest::newRow("drive C") << "C:\\Games\\ZAM"
                             << "<prefix>/drive_c/Games/ZAM";
    QTest::newRow("spelling of existing folders taken") << "c:\\GAMES\\zam\\users\\"
                                                        << "<prefix>/drive_c/Games/ZAM/Users/";
    QTest::newRow("missing part kept as written") << "C:\\games\\New Folder\\a.exe"
                                                  << "<prefix>/drive_c/Games/New Folder/a.exe";
    QTest::newRow("other drive through its link") << "D:\\Mods"
                                                  << "<prefix>/dosdevices/d:/Mods";
    QTest::newRow("drive without a link") << "e:\\x"
                                          << "<prefix>/dosdevices/e:/x";
    QTest::newRow("path of this system") << "/nowhere/C:/x"
                                         << "/nowhere/C:/x";
}

void TestWineRegistry::pathsMapIntoThePrefix() {
    QFETCH(QString, path);
    QFETCH(QString, expected);

    WinePrefixFixture wine;
    QDir().mkpath(wine.prefix + "/drive_c/Games/ZAM/Users");
    QDir().mkpath(wine.prefix + "/dosdevices");
    QDir().mkpath(wine.dir.filePath("data/Mods"));
    QVERIFY(QFile::link(wine.dir.filePath("data"), wine.prefix + "/dosdevices/d:"));

    expected.replace("<prefix>", wine.prefix);
    QCOMPARE(localPath(path), expected);
}

void TestWineRegistry::gameKeysFromThePrefix_data() {
    QTest::addColumn<QByteArray>("storeKeys");
    QTest::addColumn<QString>("gameDir");
    QTest::addColumn<QString>("playerName");

    QTest::newRow("store without the game's keys") << QByteArray() << "C:\\Games\\ZAM"
                                                   << "René \"Z\"";
    QTest::newRow("store's own values win")
        << QByteArray(StoreText::keysOnly().gameDir("c:\\games\\zam").playerName("Bob"))
        << "c:\\games\\zam"
        << "Bob";
    QTest::newRow("store's keys without values")
        << QByteArray(StoreText::keysOnly()
                          .key("HKEY_LOCAL_MACHINE" + StoreKeys::Game)
                          .key(StoreKeys::Game))
        << "C:\\Games\\ZAM"
        << "René \"Z\"";
}

void TestWineRegistry::gameKeysFromThePrefix() {
    QFETCH(QByteArray, storeKeys);
    QFETCH(QString, gameDir);
    QFETCH(QString, playerName);

    WinePrefixFixture wine;
    // The plain key is what a 64-bit program would see; the game is 32-bit.
    wine.writeRegistry("system.reg", kMachineKeys +
                                         "\n[Software\\\\Harrowmede\\\\Operation Quellgrove] 1\n"
                                         "\"MAIN\"=\"C:\\\\Wrong\"\n");
    wine.writeRegistry("user.reg", kUserKeys);
    QDir().mkpath(wine.prefix + "/drive_c/Games/ZAM/Users/Alice");
    const QMap<QString, QByteArray> before = snapshot(wine.prefix);

    StoreFixture store;
    store.write(StoreText().launcher(store.existingFile()) + storeKeys);
    StoreTables t;
    const LoadOutcome outcome = t.load();
    t.save();

    QCOMPARE(t.settings.GameDir, gameDir);
    QCOMPARE(outcome.playerName, playerName);
    // The profile scan finds "Users" for "\users\".
    QCOMPARE(outcome.profileNames, QStringList{"Alice"});
    QCOMPARE(snapshot(wine.prefix), before);
    // What came from the prefix is not copied into the store.
    QCOMPARE(store.read().contains("Quellgrove"), !storeKeys.isEmpty());
}

void TestWineRegistry::defaultPrefixIsInHome() {
    QTemporaryDir home;
    ScopedEnvironment homeVariable("HOME", QFile::encodeName(home.path()));
    ScopedEnvironment noPrefix("WINEPREFIX", QByteArray());
    QDir().mkpath(home.filePath(".wine"));
    QFile file(home.filePath(".wine/system.reg"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("WINE REGISTRY Version 2\n\n" + kMachineKeys);
    file.close();

    StoreFixture store;
    store.write(StoreText().launcher(store.existingFile()));
    StoreTables t;
    t.settings.GameDir = "previous";
    const LoadOutcome outcome = t.load();
    QCOMPARE(t.settings.GameDir, QString("C:\\Games\\ZAM"));
    QCOMPARE(outcome.playerName, QString());

    // Nothing anywhere: the directory keeps its previous value.
    QVERIFY(file.remove());
    t.settings.GameDir = "previous";
    t.load();
    QCOMPARE(t.settings.GameDir, QString("previous"));
}

QTEST_GUILESS_MAIN(TestWineRegistry)
#include "tst_wine_registry.moc"
