#pragma once

#include <QString>

// Key paths of the settings store, absolute from their root key.
namespace StoreKeys {

// The game's own key: `MAIN` under HKEY_LOCAL_MACHINE, `Player Name` under
// HKEY_CURRENT_USER. The launcher only reads it.
inline const QString Game = QStringLiteral("\\Software\\Harrowmede\\Operation Quellgrove\\");
inline const QString Launcher = QStringLiteral("\\Software\\ZAM Launcher2\\");
inline const QString Mods = QStringLiteral("\\Software\\ZAM Launcher2\\mods");
inline const QString Servers = QStringLiteral("\\Software\\ZAM Launcher2\\servers");
inline const QString Friends = QStringLiteral("\\Software\\ZAM Launcher2\\friends");
inline const QString Geometry = QStringLiteral("\\Software\\ZAM Launcher2\\geometry");

inline QString modEntry(const QString& name) { return Mods + u'\\' + name; }
inline QString serverEntry(const QString& name) { return Servers + u'\\' + name; }

} // namespace StoreKeys
