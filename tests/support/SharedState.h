#pragma once

#include "state/LauncherState.h"

// The launcher's state under the names the window tests use.
inline LauncherSettings& launcherSettings = LauncherState::instance().settings;
inline ModTable& modTable = LauncherState::instance().mods;
inline ServerTable& serverTable = LauncherState::instance().servers;
inline QueryTable& queryTable = LauncherState::instance().queries;

// Empties the launcher's state between window tests.
inline void resetSharedState() {
    LauncherState::instance().clear();
}
