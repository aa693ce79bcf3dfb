#include "settings/ParsedStore.h"
#include "settings/SettingsStore.h"
#include "support/ErrorOf.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

class TestSettingsStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void valuesRoundTripThroughTheFile();
    void foreignContentIsKeptUnchanged();
    void readsFailWithTheStoresMessages_data();
    void readsFailWithTheStoresMessages();
    void openWithoutCreateKeepsTheCurrentKey();
    void rootsAreSeparate();
    void keysListAndDelete();
    void onlyCommitReachesTheFile();
    void fileAndFolderAreOwnerOnly();
    void damagedFileIsCopiedOnceBeforeRewrite();
    void importedVersion5FileIsKept();
    void textsSpelledAsByteListsReadAsText_data();
    void textsSpelledAsByteListsReadAsText();
    void failedWritesKeepTheOldFile_data();
    void failedWritesKeepTheOldFile();
    void unreadableFileIsNeverOverwritten();
    void storesInARowReadTheFileAsItIsNow();

private:
    QString storePath() const { return dir_->filePath("cfg/registry.reg"); }
    std::unique_ptr<QTemporaryDir> dir_;
};

namespace {

const QString launcherKey = "\\Software\\ZAM Launcher2\\";

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

void TestSettingsStore::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestSettingsStore::valuesRoundTripThroughTheFile() {
    const QString tricky = QString::fromUtf8("C:\\Games\\\"ZAM\"\nline 2 \xc3\xa4\xe2\x82\xac");
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, true));
        store.writeString("executable", tricky);
        store.writeInteger("watchers", -2);
        store.writeBool("nosplash", true);
        store.writeBool("window", false);
        store.commit();
    }
    SettingsStore store(storePath());
    QVERIFY(!store.skippedDamagedLines());
    QVERIFY(store.openKey("\\software\\zam launcher2", false));
    QCOMPARE(store.readString("EXECUTABLE"), tricky);
    QCOMPARE(store.readInteger("watchers"), -2);
    QCOMPARE(store.readBool("nosplash"), true);
    QCOMPARE(store.readBool("window"), false);
    QCOMPARE(store.readString("missing"), QString());
}

// Keys, values and value kinds the launcher never touches come back as they
// were; only the values it writes change.
void TestSettingsStore::foreignContentIsKeptUnchanged() {
    const QByteArray before = "REGEDIT4\n\n"
                              "[HKEY_CURRENT_USER\\Software\\Other]\n"
                              "\"Blob\"=hex:00,ff,\\\n  10\n"
                              "@=\"x\"\n\n"
                              "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                              "; chosen on first run\n"
                              "\"executable\"=\"old\"\n"
                              "\"Extra\"=hex(7):41,00,00,00\n\n";
    writeFile(storePath(), before);
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey, false));
    store.writeString("executable", "new");
    store.writeInteger("close", 1);
    store.commit();

    QByteArray expected = before;
    expected.replace("\"executable\"=\"old\"\n", "\"executable\"=\"new\"\n");
    expected.replace("00,00,00\n\n", "00,00,00\n\"close\"=dword:00000001\n\n");
    QCOMPARE(contents(storePath()), expected);
    QVERIFY(!QFileInfo::exists(storePath() + ".orig"));
}

void TestSettingsStore::readsFailWithTheStoresMessages_data() {
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");

    QTest::newRow("missing integer") << "integer"
                                     << "none"
                                     << "Failed to get data for 'none'";
    QTest::newRow("missing bool") << "bool"
                                  << "none"
                                  << "Failed to get data for 'none'";
    QTest::newRow("text as integer") << "integer"
                                     << "text"
                                     << "Invalid data type for 'text'";
    QTest::newRow("text as bool") << "bool"
                                  << "text"
                                  << "Invalid data type for 'text'";
    QTest::newRow("integer as text") << "string"
                                     << "number"
                                     << "Invalid data type for 'number'";
    QTest::newRow("hex as text") << "string"
                                 << "blob"
                                 << "Invalid data type for 'blob'";
    QTest::newRow("hex as integer") << "integer"
                                    << "blob"
                                    << "Invalid data type for 'blob'";
    QTest::newRow("no key open") << "closed"
                                 << "number"
                                 << "Failed to get data for 'number'";
    QTest::newRow("write without key") << "write"
                                       << "number"
                                       << "Failed to set data for 'number'";
}

void TestSettingsStore::readsFailWithTheStoresMessages() {
    QFETCH(QString, read);
    QFETCH(QString, name);
    QFETCH(QString, error);

    writeFile(storePath(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                           "\"text\"=\"1\"\n\"number\"=dword:00000001\n\"blob\"=hex:01\n\n");
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey, false));
    if (read == "closed" || read == "write")
        store.closeKey();
    QCOMPARE(errorOf([&] {
                 if (read == "integer" || read == "closed")
                     store.readInteger(name);
                 else if (read == "bool")
                     store.readBool(name);
                 else if (read == "write")
                     store.writeInteger(name, 1);
                 else
                     store.readString(name);
             }),
             error);
}

void TestSettingsStore::openWithoutCreateKeepsTheCurrentKey() {
    SettingsStore store(storePath());
    QVERIFY(!store.openKey(launcherKey, false));
    QVERIFY(store.openKey(launcherKey, true));
    store.writeString("executable", "game.exe");
    QVERIFY(!store.openKey("\\Software\\Missing", false));
    QCOMPARE(store.readString("executable"), "game.exe");
    store.commit();
    QCOMPARE(contents(storePath()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                                    "\"executable\"=\"game.exe\"\n\n");
}

void TestSettingsStore::rootsAreSeparate() {
    SettingsStore store(storePath());
    store.setRootKey(RootKey::LocalMachine);
    QVERIFY(store.openKey("\\Software\\Harrowmede\\Operation Quellgrove\\", true));
    store.writeString("MAIN", "/games/zam");
    store.setRootKey(RootKey::CurrentUser);
    QCOMPARE(errorOf([&] { store.writeString("MAIN", "x"); }), "Failed to set data for 'MAIN'");
    QVERIFY(!store.openKey("\\Software\\Harrowmede\\Operation Quellgrove\\", false));
    store.commit();

    SettingsStore reread(storePath());
    reread.setRootKey(RootKey::LocalMachine);
    QVERIFY(reread.openKey("\\Software\\Harrowmede\\Operation Quellgrove", false));
    QCOMPARE(reread.readString("MAIN"), "/games/zam");
}

// The way a save rewrites a table: list, delete every subkey, create anew.
void TestSettingsStore::keysListAndDelete() {
    {
        SettingsStore store(storePath());
        for (const char* id : {"9", "10", "4711"}) {
            QVERIFY(store.openKey(launcherKey + "servers\\" + id + "\\players", true));
            store.writeString("name", id);
        }
        store.commit();
    }
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey + "servers", true));
    QCOMPARE(store.getKeyNames(), (QStringList{"10", "4711", "9"}));
    QVERIFY(!store.deleteKey("11"));
    for (const QString& name : store.getKeyNames())
        QVERIFY(store.deleteKey(name));
    QVERIFY(store.getKeyNames().isEmpty());
    QVERIFY(!store.openKey(launcherKey + "servers\\10\\players", false));
    QVERIFY(store.openKey(launcherKey + "servers\\77", true));
    store.writeString("name", "new");
    store.commit();

    QCOMPARE(contents(storePath()), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\"
                                    "servers\\77]\n\"name\"=\"new\"\n\n");
}

void TestSettingsStore::onlyCommitReachesTheFile() {
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, true));
        store.writeString("executable", "lost");
    }
    {
        SettingsStore store(storePath());
        QVERIFY(!store.openKey(launcherKey, false));
        store.commit(); // nothing changed: nothing written
    }
    QVERIFY(!QFileInfo::exists(storePath()));
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, true));
        store.commit();
    }
    const QByteArray committed = contents(storePath());
    QVERIFY(committed.contains("ZAM Launcher2"));
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey, false));
    store.writeString("executable", "later");
    QCOMPARE(contents(storePath()), committed);
}

// The store holds server passwords.
void TestSettingsStore::fileAndFolderAreOwnerOnly() {
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey + "servers\\1", true));
    store.writeString("pass", "secret");
    store.commit();
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileDevice::Permissions file = QFileInfo(storePath()).permissions();
    QCOMPARE(file & (ownerOnly | QFileDevice::ExeOwner | others), ownerOnly);
    QCOMPARE(QFileInfo(dir_->filePath("cfg")).permissions() & others, QFileDevice::Permissions());

    QFile::setPermissions(storePath(), ownerOnly | QFileDevice::ReadOther);
    SettingsStore again(storePath());
    QVERIFY(again.openKey(launcherKey, true));
    again.writeBool("close", false);
    again.commit();
    QVERIFY(!(QFileInfo(storePath()).permissions() & QFileDevice::ReadOther));
}

void TestSettingsStore::damagedFileIsCopiedOnceBeforeRewrite() {
    const QByteArray damaged = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                               "\"executable\"=\"game.exe\"\ngarbage line\n\n";
    writeFile(storePath(), damaged);
    writeFile(storePath() + ".orig", "an older copy");
    {
        SettingsStore store(storePath());
        QVERIFY(store.skippedDamagedLines());
        QVERIFY(store.openKey(launcherKey, false));
        QCOMPARE(store.readString("executable"), "game.exe");
        store.writeBool("close", true);
        store.commit();
        store.writeBool("close", false);
        store.commit();
    }
    SettingsStore store(storePath());
    QVERIFY(!store.skippedDamagedLines());
    QVERIFY(store.openKey(launcherKey, false));
    QCOMPARE(store.readString("executable"), "game.exe");
    store.writeBool("close", true);
    store.commit();

    QCOMPARE(contents(storePath() + ".orig"), "an older copy");
    QCOMPARE(contents(storePath() + ".orig.1"), damaged);
    QVERIFY(!QFileInfo::exists(storePath() + ".orig.2"));
}

void TestSettingsStore::importedVersion5FileIsKept() {
    const QString exported = "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods\\5]\r\n"
                             "\"name\"=\"Caf\u00e9\"\r\n\r\n";
    QByteArray bytes = "\xff\xfe";
    bytes.append(reinterpret_cast<const char*>(exported.utf16()), exported.size() * 2);
    writeFile(storePath(), bytes);

    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey + "mods\\5", false));
    QCOMPARE(store.readString("name"), QString("Caf\u00e9"));
    store.writeBool("checked", true);
    store.commit();
    QCOMPARE(contents(storePath() + ".orig"), bytes);
    QCOMPARE(contents(storePath()),
             "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\"
             "mods\\5]\n\"name\"=\"Caf\xc3\xa9\"\n\"checked\"=dword:00000001\n\n");
}

namespace {

// A version-5 export as regedit writes it: UTF-16LE with a byte-order mark.
QByteArray version5File(const QString& section, const QString& valueLine) {
    const QString text = "Windows Registry Editor Version 5.00\r\n\r\n[" + section + "]\r\n" +
                         valueLine + "\r\n\r\n";
    QByteArray bytes = "\xff\xfe";
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

} // namespace

void TestSettingsStore::textsSpelledAsByteListsReadAsText_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");

    const QString section = "HKEY_CURRENT_USER\\Software\\ZAM Launcher2";
    const QByteArray regedit4 = "REGEDIT4\n\n[" + section.toUtf8() + "]\n\"v\"=";
    QTest::newRow("hex(2), REGEDIT4, environment reference kept")
        << regedit4 + "hex(2):25,50,41,54,48,25,5c,7a,00\n"
        << "%PATH%\\z";
    QTest::newRow("hex(1), REGEDIT4, continued") << regedit4 + "hex(1):41,\\\n  42,00\n"
                                                 << "AB";
    QTest::newRow("hex(2), REGEDIT4, UTF-8 bytes") << regedit4 + "hex(2):c3,a4,00\n"
                                                   << "\u00e4";
    QTest::newRow("hex(2), REGEDIT4, bytes that are no UTF-8") << regedit4 + "hex(2):e4,ff\n"
                                                               << "\u00e4\u00ff";
    QTest::newRow("hex(2), version 5")
        << version5File(section, "\"v\"=hex(2):25,00,41,00,25,00,5c,00,ac,20,00,00")
        << "%A%\\\u20ac";
    QTest::newRow("hex(1), version 5, continued")
        << version5File(section, "\"v\"=hex(1):43,00,\\\r\n  3a,00,00,00") << "C:";
}

// Both spellings regedit uses for texts read as text, and a version-5 file
// rewritten in the store's own format still gives the same text.
void TestSettingsStore::textsSpelledAsByteListsReadAsText() {
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    writeFile(storePath(), file);
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, false));
        QCOMPARE(store.readString("v"), text);
        QCOMPARE(errorOf([&] { store.readInteger("v"); }), QString("Invalid data type for 'v'"));
        store.writeString("other", "x");
        store.commit();
    }
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey, false));
    QCOMPARE(store.readString("v"), text);
}

void TestSettingsStore::failedWritesKeepTheOldFile_data() {
    QTest::addColumn<bool>("onlyKeys");
    QTest::addColumn<QString>("error");
    QTest::newRow("values written") << false << "Failed to set data for 'executable'";
    QTest::newRow("only keys changed") << true << "Failed to set data for '0'";
}

// A write that fails part way (here: the file size limit, as a full disk)
// raises the store's message and leaves the old file as it was.
void TestSettingsStore::failedWritesKeepTheOldFile() {
    QFETCH(bool, onlyKeys);
    QFETCH(QString, error);

    const QByteArray old = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\n";
    writeFile(storePath(), old);
    SettingsStore store(storePath());
    QVERIFY(store.openKey(launcherKey, false));
    if (!onlyKeys)
        store.writeString("executable", QString(100000, u'x'));
    for (int i = 0; i < 2000; ++i)
        QVERIFY(store.openKey(launcherKey + "mods\\" + QString::number(i), true));
    {
        FileSizeLimit limit(4096);
        QCOMPARE(errorOf([&] { store.commit(); }), error);
    }
    QCOMPARE(contents(storePath()), old);
    QCOMPARE(QDir(dir_->filePath("cfg")).entryList(QDir::Files), QStringList{"registry.reg"});

    // A folder that cannot be made fails the same way.
    writeFile(dir_->filePath("plain-file"), "x");
    SettingsStore nowhere(dir_->filePath("plain-file/registry.reg"));
    QVERIFY(nowhere.openKey(launcherKey, true));
    if (!onlyKeys)
        nowhere.writeString("executable", "x");
    QVERIFY(nowhere.openKey(launcherKey + "mods", true));
    QCOMPARE(errorOf([&] { nowhere.commit(); }),
             onlyKeys ? "Failed to set data for 'ZAM Launcher2'" : error);
}

// A store file that exists but cannot be read reads as empty, and a commit
// must not replace the user's file with that emptiness.
void TestSettingsStore::unreadableFileIsNeverOverwritten() {
    QDir().mkpath(storePath()); // something unreadable as a file, even for root
    SettingsStore store(storePath());
    QVERIFY(!store.openKey(launcherKey, false));
    QVERIFY(store.openKey(launcherKey, true));
    store.writeString("executable", "x");
    QCOMPARE(errorOf([&] { store.commit(); }), "Failed to set data for 'executable'");
    QVERIFY(QFileInfo(storePath()).isDir());

    if (geteuid() == 0)
        QSKIP("root reads files regardless of their permissions");
    const QString locked = dir_->filePath("locked.reg");
    writeFile(locked, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"a\"=\"b\"\n\n");
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    SettingsStore lockedStore(locked);
    QVERIFY(lockedStore.openKey(launcherKey, true));
    lockedStore.writeString("executable", "x");
    QCOMPARE(errorOf([&] { lockedStore.commit(); }), "Failed to set data for 'executable'");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(contents(locked).contains("\"a\"=\"b\""));
}

// Stores made one after another share the parse of an unchanged file; each
// still reads the file as it is when it is made.
void TestSettingsStore::storesInARowReadTheFileAsItIsNow() {
    const auto storeWith = [](const char* executable) {
        return QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n"
                          "\"executable\"=\"") + executable + "\"\n\n";
    };
    const auto executable = [this] {
        SettingsStore store(storePath());
        return store.openKey(launcherKey, false) ? store.readString("executable") : QString();
    };
    writeFile(storePath(), storeWith("a"));
    QCOMPARE(executable(), "a");
    writeFile(storePath(), storeWith("b")); // another launcher's save, the same size
    QCOMPARE(executable(), "b");
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, false));
        store.writeString("executable", "dropped");
    }
    QCOMPARE(executable(), "b");
    {
        SettingsStore store(storePath());
        QVERIFY(store.openKey(launcherKey, false));
        store.writeString("executable", "saved");
        store.commit();
        store.writeString("executable", "dropped");
    }
    QCOMPARE(executable(), "saved");
    // The start-up's parse on a thread of its own, before and after a save.
    prefetchParsedStore(storePath());
    QThread::msleep(20); // the parse has read "saved" by now
    writeFile(storePath(), storeWith("c"));
    QCOMPARE(executable(), "c");
    prefetchParsedStore(storePath());
    QCOMPARE(executable(), "c");
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settings_store.moc"
