#pragma once

#include "settings/Tables.h"

#include <QList>
#include <QString>

// A server's `Mods` text: mod directory names, each followed by one ";".

// The directories of the mods whose flag is set, in mod table order. Flags
// beyond the list count as unset.
QString modsText(const ModTable& mods, const QList<bool>& checked);

// One flag per mod slot 0 to mods.Last: set when the text names the mod's
// directory. Only names closed by ";" count; they match exactly, letter case
// included, and a name matches every mod that has that directory.
QList<bool> modsNamedIn(const ModTable& mods, const QString& text);
