#pragma once

#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Store texts for the dialog tests: the launcher's key with its options,
// then mod and server entries.

inline QByteArray launcherKey(const QString& exe, const QByteArray& options = {}) {
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"executable\"=\"" +
           exe.toUtf8() + "\"\n\"nosplash\"=dword:00000001\n\"window\"=dword:00000000\n" + options +
           "\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods]\n\n" +
           "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\servers]\n\n";
}

inline QByteArray modKey(int id, const QByteArray& name, const QByteArray& dir, bool checked) {
    return "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods\\" + QByteArray::number(id) +
           "]\n\"name\"=\"" + name + "\"\n\"dir\"=\"" + dir + "\"\n\"checked\"=dword:0000000" +
           (checked ? "1" : "0") + "\n\n";
}

inline QByteArray serverKey(int id, const QByteArray& name, bool sockets = true,
                            const QByteArray& mods = {}) {
    return "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\servers\\" + QByteArray::number(id) +
           "]\n\"name\"=\"" + name + "\"\n\"ip\"=\"" + name + ".example\"\n\"port\"=\"2302\"\n" +
           "\"pass\"=\"pw-" + name + "\"\n\"mods\"=\"" + mods + "\"\n\"sockets\"=dword:0000000" +
           (sockets ? "1" : "0") + "\n\n";
}

// The subkeys a table key lists in the store file.
inline QStringList storedKeys(const QString& tableKey) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    return store.openKey(tableKey, false) ? store.getKeyNames() : QStringList{};
}
