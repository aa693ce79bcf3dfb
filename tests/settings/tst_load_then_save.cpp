#include "settings/StoreKeys.h"
#include "state/LauncherState.h"
#include "support/ScopedEnvironment.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QTest>

// Whatever step a load stops at, the closing save that follows leaves every
// option, mod and server the user did not change exactly as the store has it.
class TestLoadThenSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closingSaveKeepsTheStore_data();
    void closingSaveKeepsTheStore();
    void changesAfterAStoppedLoadAreWrittenAlone();
};

namespace {

struct Value {
    QString section; // a key path as StoreText::key takes it
    StoreValue value;
};

// A whole store: the game's keys, the options, two mods, two servers and a friend.
QList<Value> storeValues(const QString& executable, const QString& gameDir) {
    const QString launcher = StoreKeys::Launcher.chopped(1);
    QList<Value> values = {
        {"HKEY_LOCAL_MACHINE" + StoreKeys::Game, {"MAIN", quoted(gameDir)}},
        {launcher, {"executable", quoted(executable)}},
        {launcher, {"nosplash", dword(1)}},
        {launcher, {"window", dword(0)}},
        {launcher, {"close", dword(1)}},
        {launcher, {"watchers", dword(2)}},
        {launcher, {"sound1", quoted("start.wav")}},
        {launcher, {"sound2", quoted("join.wav")}},
        {launcher, {"runner", dword(1)}},
        {launcher, {"wine", quoted("/opt/wine/bin/wine")}},
        {launcher, {"proton", quoted("/opt/Proton 9.0")}},
        {launcher, {"launchcommand", quoted("DXVK_HUD=1 %command%")}},
        {launcher, {"friendcheck", dword(60)}},
    };
    for (const QString id : {"11", "12"})
        values << Value{StoreKeys::modEntry(id), {"name", quoted("Mod " + id)}}
               << Value{StoreKeys::modEntry(id), {"dir", quoted(id)}}
               << Value{StoreKeys::modEntry(id), {"checked", dword(1)}};
    for (const QString id : {"21", "22"})
        values << Value{StoreKeys::serverEntry(id), {"name", quoted("Server " + id)}}
               << Value{StoreKeys::serverEntry(id), {"ip", quoted("127.0.0.1")}}
               << Value{StoreKeys::serverEntry(id), {"port", quoted("2302")}}
               << Value{StoreKeys::serverEntry(id), {"pass", quoted("")}}
               << Value{StoreKeys::serverEntry(id), {"mods", quoted("11;")}}
               << Value{StoreKeys::serverEntry(id), {"sockets", dword(1)}};
    values << Value{StoreKeys::Game, {"Player Name", quoted("Me")}};
    values << Value{launcher + "\\friends\\31", {"name", quoted("Ann")}};
    return values;
}

QByteArray storeFile(const QList<Value>& values) {
    StoreText text;
    for (qsizetype v = 0; v < values.size();) {
        const QString& section = values[v].section;
        QList<StoreValue> key;
        for (; v < values.size() && values[v].section == section; ++v)
            key << values[v].value;
        text.key(section, key);
    }
    return text;
}

bool isDword(const Value& value) {
    return value.value.data.startsWith("dword:");
}

} // namespace

void TestLoadThenSave::closingSaveKeepsTheStore_data() {
    QTest::addColumn<int>("changed");
    QTest::addColumn<QByteArray>("data");

    // Other spellings of a text (read as text), other kinds (which stop the
    // load where the value is read), and a text where a number belongs.
    const QList<QPair<QByteArray, QByteArray>> forText = {
        {"missing", ""},
        {"hex(2) text", "hex(2):25,48,4f,4d,45,25,00"},
        {"hex(2) not text", "hex(2):ff,fe,01"},
        {"hex(1) text", "hex(1):61,62,00"},
        {"dword", "dword:00000007"},
        {"hex", "hex:01,02"},
        {"hex(7)", "hex(7):61,00,00"},
    };
    const int readAsText = 4; // the first four read as a text
    const QList<QPair<QByteArray, QByteArray>> forDword = {
        {"missing", ""},
        {"text", "\"1\""},
        {"hex", "hex:01,00,00,00"},
        {"hex(2)", "hex(2):31,00"},
        {"hex(4)", "hex(4):01,00,00,00"},
    };
    const QList<Value> values = storeValues("exe", "game");
    for (int v = 0; v < values.size(); ++v) {
        // The second mod and server: the first one loads, then the load stops.
        if (values[v].section.endsWith("11") || values[v].section.endsWith("21"))
            continue;
        const auto& variants = isDword(values[v]) ? forDword : forText;
        for (int i = 0; i < variants.size(); ++i) {
            const auto& [kind, data] = variants[i];
            // An executable that names no file asks the user, whose answer
            // is stored.
            if (values[v].value.name == "executable" && i < readAsText)
                continue;
            QTest::addRow("%s %s",
                          qPrintable(values[v].section.split(u'\\').last() + u' ' +
                                     QString::fromUtf8(values[v].value.name)),
                          kind.constData())
                << v << data;
        }
    }
}

void TestLoadThenSave::closingSaveKeepsTheStore() {
    QFETCH(int, changed);
    QFETCH(QByteArray, data);

    StoreFixture store;
    ScopedEnvironment noWinePrefix("WINEPREFIX", store.dir.filePath("no-prefix").toUtf8());
    QList<Value> values = storeValues(store.existingFile(), store.dir.path());
    values[changed].value.data = data;
    const QByteArray original = storeFile(values);
    store.write(original);

    LauncherState& state = LauncherState::instance();
    state.clear();
    try {
        state.load();
    } catch (...) {
        // the load stopped at the value; the save must still lose nothing
    }
    state.save();
    QCOMPARE(QString::fromUtf8(store.read()), QString::fromUtf8(original));
}

// After a load that stopped before the tables, what the user changes is
// written and nothing else: here a new mod, an option and a tick.
void TestLoadThenSave::changesAfterAStoppedLoadAreWrittenAlone() {
    StoreFixture store;
    ScopedEnvironment noWinePrefix("WINEPREFIX", store.dir.filePath("no-prefix").toUtf8());
    QList<Value> values = storeValues(store.existingFile(), store.dir.path());
    values[0].value.data = dword(1); // MAIN: the load stops at once
    const QByteArray original = storeFile(values);
    store.write(original);

    LauncherState& state = LauncherState::instance();
    state.clear();
    QVERIFY_THROWS_EXCEPTION(std::exception, state.load());
    state.settings.Windowed = true;
    state.mods.Last = 0;
    state.mods.Id[0] = 99;
    state.mods.Name[0] = "New";
    state.save();

    QByteArray expected = original;
    expected.replace(valueLine({"window", dword(0)}), valueLine({"window", dword(1)}));
    // The new mod's key goes after the other mods', before the first server's key line.
    const QByteArray firstServer =
        QByteArray(StoreText::keysOnly().key(StoreKeys::serverEntry("21"))).chopped(1);
    expected.replace(firstServer, StoreText::keysOnly().mod(99, "New", "", false) + firstServer);
    QCOMPARE(QString::fromUtf8(store.read()), QString::fromUtf8(expected));
}

QTEST_GUILESS_MAIN(TestLoadThenSave)
#include "tst_load_then_save.moc"
