#pragma once

#include <QString>

// The Wine prefix in which the game lives when the launcher runs outside
// Windows: $WINEPREFIX, else ~/.wine. The launcher only ever reads it.
namespace WinePrefix {

QString path();

// Maps a Windows path with a drive letter ("C:/Games/ZAM", separators
// already '/') into the prefix: C: is drive_c, other letters go through the
// prefix's dosdevices links ("d:"). Other paths come back unchanged.
QString mapDrivePath(const QString& windowsPath);

// The prefix the file at localPath lies in (the nearest folder above it with
// a system.reg and a drive_c), else path().
QString containing(const QString& localPath);

// The game's installation directory (`MAIN` of its machine key, the 32-bit
// view under Wow6432Node first) and the player's name, as the prefix's
// registry holds them; empty when missing. Empty on Windows.
QString gameDir();
QString playerName();

} // namespace WinePrefix
