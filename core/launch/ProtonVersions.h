#pragma once

#include <QStringList>

// The Proton folders Steam installed for the user: the folders named
// Proton* under ~/.steam/steam/steamapps/common and
// ~/.local/share/Steam/steamapps/common that hold a `proton` script, each
// once as its real path (the first usually links to the second), sorted by
// name with numbers in numeric order.
QStringList findProtonFolders(const QString& home);
