#pragma once

#include "settings/Registry.h"
#include "settings/Tables.h"

#include <QString>

// A full launcher state (SLOT_COUNT mods and servers) in which every entry
// carries one tag, so that a store file can be checked to hold exactly one
// save, whole.
namespace TaggedState {

inline void fill(LauncherSettings& settings, ModTable& mods, ServerTable& servers,
                 const QString& executable, const QString& tag) {
    settings.ExecutablePath = executable;
    settings.SkipSplash = true;
    settings.SoundMode = 1;
    settings.Sound1 = tag;
    settings.Sound2 = QStringLiteral("none");
    mods.Last = servers.Last = SLOT_COUNT - 1;
    for (int k = 0; k < SLOT_COUNT; ++k) {
        mods.Id[k] = 1000000 + k;
        mods.Name[k] = QStringLiteral("Mod %1 %2").arg(k).arg(tag);
        mods.Dir[k] = QStringLiteral("@mod%1").arg(k);
        mods.Checked[k] = k % 2 == 1;
        servers.Id[k] = 2000000 + k;
        servers.Name[k] = QStringLiteral("Server %1 %2").arg(k).arg(tag);
        servers.Host[k] = QStringLiteral("127.0.0.1");
        servers.Port[k] = QString::number(20000 + 2 * k);
        servers.Pass[k] = tag;
        servers.Sockets[k] = true;
        servers.Mods[k] = QStringLiteral("@mod1;@mod3;");
    }
}

// The tag of a loaded state, or an empty text when an entry is missing,
// carries another tag or lost a field.
inline QString tagOf(const LauncherSettings& settings, const ModTable& mods,
                     const ServerTable& servers) {
    const QString tag = settings.Sound1;
    if (tag.isEmpty() || mods.Last != SLOT_COUNT - 1 || servers.Last != SLOT_COUNT - 1)
        return QString();
    for (int k = 0; k < SLOT_COUNT; ++k) {
        // Entries load in the order of their subkey names, not by slot.
        const int m = mods.Id[k] - 1000000;
        const int s = servers.Id[k] - 2000000;
        if (m < 0 || m >= SLOT_COUNT || s < 0 || s >= SLOT_COUNT ||
            mods.Name[k] != QStringLiteral("Mod %1 %2").arg(m).arg(tag) ||
            mods.Dir[k] != QStringLiteral("@mod%1").arg(m) || mods.Checked[k] != (m % 2 == 1) ||
            servers.Name[k] != QStringLiteral("Server %1 %2").arg(s).arg(tag) ||
            servers.Port[k] != QString::number(20000 + 2 * s) || servers.Pass[k] != tag ||
            !servers.Sockets[k] || servers.Mods[k] != QStringLiteral("@mod1;@mod3;"))
            return QString();
    }
    return tag;
}

// Loads the store (at StoreLocation::path()) into fresh tables and returns
// its tag; empty when the load failed or the state is not whole. The
// executable must exist, so the load writes nothing.
inline QString loadTag() {
    static LauncherSettings settings;
    static ModTable mods;
    static ServerTable servers;
    settings = LauncherSettings();
    mods.Last = servers.Last = -1;
    try {
        loadRegistry(settings, mods, servers, [](const QString&) { return QString(); });
    } catch (...) {
        return QString();
    }
    return tagOf(settings, mods, servers);
}

} // namespace TaggedState
