#pragma once

#include "app/ApplicationWindows.h"
#include "app/Unit1.h"
#include "browser/ServerGrid.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "support/SharedState.h"
#include "watcher/Unit6.h"

// The seven windows created and linked in the launcher's order, all at once,
// destroyed in reverse.
struct LauncherWindows : ApplicationWindows {
    LauncherWindows() { createOthers(); }
};
