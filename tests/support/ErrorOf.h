#pragma once

#include "base/LauncherError.h"

#include <QString>
#include <functional>

// The message of the LauncherError that action throws; empty when it throws none.
inline QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const LauncherError& e) {
        return e.message();
    }
    return QString();
}
