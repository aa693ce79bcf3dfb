#pragma once

#include <QString>
#include <QStringList>

// Paths that come from the store or the game are written the game's way,
// with backslashes; on this system a backslash separates directories.
QString localPath(const QString& path);

// True when a file (not a directory) exists at the path.
bool fileExists(const QString& path);

// Names of all entries of GameDir + "\users\" (files and folders, hidden
// ones too) except "." and "..", in the order the file system lists them.
QStringList listProfileNames(const QString& gameDir);
