#pragma once

#include <QString>
#include <QStringList>

// Reads one text value from a registry file of a Wine prefix (system.reg,
// user.reg: "WINE REGISTRY Version 2", sections "[Key\\Path] <time>", values
// "name"="text"). Key paths are relative to the file's hive, names separated
// by '\' ("Software\Maker\Game"); keys and value names match
// case-insensitively. The first of keyPaths that holds the value wins. Gives
// a null text when no key holds it, when it is not text, or when the file is
// missing or not in Wine's format. The file is only read.
QString readWineRegistryText(const QString& filePath, const QStringList& keyPaths,
                             const QString& valueName);
