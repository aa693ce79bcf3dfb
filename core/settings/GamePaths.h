#pragma once

#include <QString>
#include <QStringList>

// Paths that come from the store or the game are written the game's way,
// with backslashes; on this system a backslash separates directories. A
// Windows path with a drive letter ("C:\Games\ZAM") is taken into the Wine
// prefix, and components whose exact spelling does not exist match an
// existing entry case-insensitively, as they would on Windows.
QString localPath(const QString& path);

// True when a file (not a directory) exists at the path.
bool fileExists(const QString& path);

// Names of all entries of GameDir + "\users\" (files and folders, hidden
// ones too) except "." and "..", in the order the file system lists them.
QStringList listProfileNames(const QString& gameDir);
