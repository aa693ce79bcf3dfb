#pragma once

#include "settings/IntegerConversion.h"
#include "settings/SettingsStore.h"
#include "settings/Tables.h"

#include <QMultiHash>
#include <QSet>
#include <QStringList>
#include <algorithm>

// Loading and saving a table of numbered entries, shared by every table.

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

// The store's entries that a table does not hold, so that a new entry's Id
// differs from theirs; loading the table replaces the list.
template <typename Table>
void noteEntriesNotInMemory(SettingsStore& store, const QString& tableKey, Table& table) {
    table.UnloadedKeys.clear();
    if (!store.openKey(tableKey, false))
        return;
    if (table.Last < 0) { // the first load: no entry is in memory
        table.UnloadedKeys = store.getKeyNames();
        return;
    }
    QSet<QString> inMemory;
    for (int k = 0; k <= table.Last; ++k)
        inMemory.insert(QString::number(table.Id[k]));
    for (const QString& name : store.getKeyNames())
        if (!inMemory.contains(name))
            table.UnloadedKeys << name;
}

// The table's subkeys by the Id their names convert to; a name that
// converts to none is no entry of the launcher's.
inline QMultiHash<qint32, QString> keysById(SettingsStore& store, const QString& tableKey) {
    QMultiHash<qint32, QString> keys;
    if (!store.openKey(tableKey, false))
        return keys;
    for (const QString& name : store.getKeyNames()) {
        qint32 id = 0;
        if (tryParseInteger(name, id))
            keys.insert(id, name);
    }
    return keys;
}

// Writes the entries of `now` that `stored` does not hold as they are (all
// without `stored`) and deletes the keys of stored entries whose Id is gone.
// sameEntry(k, s) compares slot k of now with slot s of stored.
template <typename Table, typename SameEntry, typename WriteEntry>
void writeTable(SettingsStore& store, const QString& tableKey, const Table& now,
                const Table* stored, SameEntry sameEntry, WriteEntry writeEntry) {
    const QMultiHash<qint32, QString> keys = keysById(store, tableKey);
    QMultiHash<qint32, int> storedSlots;
    for (int s = 0; stored && s <= stored->Last; ++s)
        storedSlots.insert(stored->Id[s], s);

    QSet<qint32> idsNow;
    for (int k = 0; k <= now.Last; ++k) {
        const qint32 id = now.Id[k];
        idsNow.insert(id);
        const QList<int> candidates = storedSlots.values(id);
        if (std::any_of(candidates.begin(), candidates.end(),
                        [&](int s) { return sameEntry(k, s); }))
            continue;
        store.openKey(tableKey + u'\\' + keys.value(id, QString::number(id)), true);
        writeEntry(k);
    }
    if (!store.openKey(tableKey, false))
        return;
    for (auto slot = storedSlots.cbegin(); slot != storedSlots.cend(); ++slot) {
        if (!idsNow.contains(slot.key()))
            for (const QString& name : keys.values(slot.key()))
                store.deleteKey(name);
    }
}
