#pragma once

#include "settings/Tables.h"

// Empties the process-wide settings and tables between window tests.
inline void resetSharedState() {
    modTable = ModTable();
    serverTable = ServerTable();
    launcherSettings = LauncherSettings();
}
