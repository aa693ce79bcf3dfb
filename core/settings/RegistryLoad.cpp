#include "base/LauncherError.h"
#include "settings/GamePaths.h"
#include "settings/IntegerConversion.h"
#include "settings/Registry.h"
#include "settings/RememberedGeometry.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/WinePrefix.h"

#include <QSet>

namespace {

const QString kSelectExecutable = QStringLiteral("Select the ZAM executable.");
const QString kExecutableNotFound =
    QStringLiteral("ZAM Executable not found! Select the correct ZAM executable.");

// The game's own keys come from the store, or when it has none of its own
// from the Wine prefix the game was installed in; a path read there is
// mapped into the prefix where it is used (localPath).
void readGameDir(SettingsStore& store, LauncherSettings& settings) {
    store.setRootKey(RootKey::LocalMachine);
    const bool keyOpened = store.openKey(StoreKeys::Game, false);
    QString gameDir = keyOpened ? store.readString(QStringLiteral("MAIN")) : QString();
    store.closeKey();
    if (gameDir.isEmpty())
        gameDir = WinePrefix::gameDir();
    if (keyOpened || !gameDir.isEmpty())
        settings.GameDir = gameDir;
}

// Creates the launcher's key with its defaults; committed at once so the
// user's choice of executable survives whatever the rest of the load meets.
void firstRunSetup(SettingsStore& store, const ExecutableChooser& chooseExecutable) {
    store.openKey(StoreKeys::Launcher, true);
    if (const std::optional<QString> chosen = chooseExecutable(kSelectExecutable))
        store.writeString(QStringLiteral("executable"), *chosen);
    store.writeBool(QStringLiteral("nosplash"), true);
    store.writeBool(QStringLiteral("window"), false);
    store.writeBool(QStringLiteral("close"), false);
    store.writeInteger(QStringLiteral("watchers"), 1);
    store.writeString(QStringLiteral("o_sound1"), QStringLiteral("none"));
    store.writeString(QStringLiteral("o_sound2"), QStringLiteral("none"));
    store.openKey(StoreKeys::Mods, true);
    store.openKey(StoreKeys::Servers, true);
    store.closeKey();
    store.commit();
}

void readOptions(SettingsStore& store, LauncherSettings& s, const ExecutableChooser& choose) {
    s.ExecutablePath = store.readString(QStringLiteral("executable"));
    if (!fileExists(s.ExecutablePath)) {
        if (const std::optional<QString> chosen = choose(kExecutableNotFound)) {
            s.ExecutablePath = *chosen;
            store.writeString(QStringLiteral("executable"), s.ExecutablePath);
        }
    }
    s.SkipSplash = store.readBool(QStringLiteral("nosplash"));
    s.Windowed = store.readBool(QStringLiteral("window"));
    try {
        s.CloseAfterLaunch = store.readBool(QStringLiteral("close"));
    } catch (const LauncherError&) {
        s.CloseAfterLaunch = false;
    }
    try {
        s.SoundMode = store.readInteger(QStringLiteral("watchers"));
    } catch (const LauncherError&) {
        s.SoundMode = 1;
    }
    try {
        s.Sound1 = store.readString(QStringLiteral("sound1"));
        s.Sound2 = store.readString(QStringLiteral("sound2"));
    } catch (const LauncherError&) {
        s.Sound1 = s.Sound2 = QStringLiteral("none");
    }
    if (s.Sound1.isEmpty())
        s.Sound1 = QStringLiteral("none");
    if (s.Sound2.isEmpty())
        s.Sound2 = QStringLiteral("none");
}

// Loads the entries listed under tableKey into slots 0.. in listing order.
// readEntry reads the fields of slot k from the entry's open key. Entries
// that cannot be taken (a bad one and all after it, or those beyond the
// table's capacity) are remembered in UnloadedKeys so that a save keeps them.
template <typename Table, typename ReadEntry>
void loadTable(SettingsStore& store, const QString& tableKey, Table& table, ReadEntry readEntry,
               const QString& what, QStringList& notices) {
    store.openKey(tableKey, true);
    const QStringList names = store.getKeyNames();
    const int count = int(std::min<qsizetype>(names.size(), SLOT_COUNT));
    QString entryPath = tableKey + u'\\'; // one text for every entry's path
    const qsizetype stem = entryPath.size();
    for (int k = 0; k < count; ++k) {
        try {
            table.Id[k] = parseInteger(names[k]);
            entryPath.truncate(stem);
            store.openKey(entryPath.append(names[k]), true);
            readEntry(k);
        } catch (...) {
            table.Last = k - 1;
            table.UnloadedKeys = names.mid(k);
            throw;
        }
    }
    table.Last = count - 1;
    table.UnloadedKeys = names.mid(count);
    if (!table.UnloadedKeys.isEmpty())
        notices << QStringLiteral("Only the first %1 %2 were loaded; the other %3 stay in the "
                                  "settings store unchanged.")
                       .arg(SLOT_COUNT)
                       .arg(what)
                       .arg(table.UnloadedKeys.size());
}

void loadMods(SettingsStore& store, ModTable& mods, QStringList& notices) {
    loadTable(
        store, StoreKeys::Mods, mods,
        [&](int k) {
            mods.Name[k] = store.readString(QStringLiteral("name"));
            mods.Dir[k] = store.readString(QStringLiteral("dir"));
            mods.Checked[k] = store.readBool(QStringLiteral("checked"));
        },
        QStringLiteral("mods"), notices);
}

void loadServers(SettingsStore& store, ServerTable& servers, QStringList& notices) {
    loadTable(
        store, StoreKeys::Servers, servers,
        [&](int k) {
            servers.Name[k] = store.readString(QStringLiteral("name"));
            servers.Host[k] = store.readString(QStringLiteral("ip"));
            servers.Port[k] = store.readString(QStringLiteral("port"));
            servers.Pass[k] = store.readString(QStringLiteral("pass"));
            servers.Sockets[k] = store.readBool(QStringLiteral("sockets"));
            servers.Mods[k] = store.readString(QStringLiteral("mods"));
        },
        QStringLiteral("servers"), notices);
}

// The store's entries that a table does not hold, so that a new entry's Id
// differs from theirs; loading the table replaces the list.
template <typename Table>
void noteEntriesNotInMemory(SettingsStore& store, const QString& tableKey, Table& table) {
    table.UnloadedKeys.clear();
    if (!store.openKey(tableKey, false))
        return;
    QSet<QString> inMemory;
    for (int k = 0; k <= table.Last; ++k)
        inMemory.insert(QString::number(table.Id[k]));
    for (const QString& name : store.getKeyNames())
        if (!inMemory.contains(name))
            table.UnloadedKeys << name;
}

void readPlayer(SettingsStore& store, const LauncherSettings& settings, LoadOutcome& outcome) {
    store.setRootKey(RootKey::CurrentUser);
    if (store.openKey(StoreKeys::Game, false))
        outcome.playerName = store.readString(QStringLiteral("Player Name"));
    store.closeKey();
    if (outcome.playerName.isEmpty())
        outcome.playerName = WinePrefix::playerName();
    outcome.profileNames = listProfileNames(settings.GameDir);
}

} // namespace

LoadOutcome loadRegistry(LauncherSettings& settings, ModTable& mods, ServerTable& servers,
                         const ExecutableChooser& chooseExecutable) {
    LoadOutcome outcome;
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    noteEntriesNotInMemory(store, StoreKeys::Mods, mods);
    noteEntriesNotInMemory(store, StoreKeys::Servers, servers);
    // The executable chosen at a prompt must reach the file whatever step
    // the load stops at.
    try {
        readGameDir(store, settings);
        store.setRootKey(RootKey::CurrentUser);
        if (!store.openKey(StoreKeys::Launcher, false))
            firstRunSetup(store, chooseExecutable);
        if (!store.openKey(StoreKeys::Launcher, false))
            return outcome;
        outcome.launcherKeyOpened = true;
        readOptions(store, settings, chooseExecutable);
        loadGeometry(store, settings.Geometry, outcome.notices);
        loadMods(store, mods, outcome.notices);
        loadServers(store, servers, outcome.notices);
        readPlayer(store, settings, outcome);
    } catch (...) {
        store.closeKey();
        try {
            store.commit();
        } catch (const LauncherError&) {
            // The load's own error is the one the user needs to see.
        }
        throw;
    }
    store.commit();
    return outcome;
}
