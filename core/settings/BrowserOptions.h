#pragma once

#include "query/ServerFilter.h"

#include <QList>
#include <QStringList>

class SettingsStore;

// The server browser's own options, values under the launcher's key:
// "hideempty", "hidefull", "hidesilent" (0 or 1), "maxping" (milliseconds,
// 0: no limit) and "autorefresh" (seconds between sweeps, 0: off).
struct BrowserOptions {
    ServerFilter filter;
    qint32 refreshSeconds = 0;

    friend bool operator==(const BrowserOptions&, const BrowserOptions&) = default;
};

// The intervals "Refresh every" offers, in seconds; 0 is off.
inline const QList<qint32> RefreshChoices = {0, 30, 60, 120, 300};

// Reads the options from the store's open key. A missing value keeps its
// default. A value of the wrong kind or out of range keeps the default too and
// adds a notice for the user; the store keeps the value as it is until the
// user changes that option.
void readBrowserOptions(const SettingsStore& store, BrowserOptions& options, QStringList& notices);

// Writes to the store's open key the options that differ from stored, every
// one without stored.
void writeBrowserOptions(SettingsStore& store, const BrowserOptions& now,
                         const BrowserOptions* stored);
