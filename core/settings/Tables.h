#pragma once

#include "settings/BrowserOptions.h"
#include "settings/RememberedGeometry.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>

// Capacity of every table and of each server's player list (slots 0 to 1024).
inline constexpr int SLOT_COUNT = 1025;

template <typename T> using SlotArray = std::array<T, SLOT_COUNT>;

// The user's launch options, watcher sounds and browser options.
struct LauncherSettings {
    QString ExecutablePath;
    QString GameDir;
    bool SkipSplash = false;
    bool Windowed = false;
    bool CloseAfterLaunch = false;
    qint32 SoundMode = 0;
    QString Sound1;
    QString Sound2;
    BrowserOptions Browser;
    // Where the browser and the watcher were left.
    RememberedGeometry Geometry;
};

// Known mods as parallel arrays; slots 0 to Last are in use (-1: empty).
struct ModTable {
    SlotArray<qint32> Id{};
    SlotArray<QString> Name;
    SlotArray<QString> Dir;
    SlotArray<bool> Checked{};
    int Last = -1;
    // Subkeys the last load listed but could not take into the table (a bad
    // entry, or more than SLOT_COUNT entries). A save keeps them in the store.
    QStringList UnloadedKeys;
};

// Saved servers as parallel arrays; slots 0 to Last are in use (-1: empty).
struct ServerTable {
    SlotArray<qint32> Id{};
    SlotArray<QString> Name;
    SlotArray<QString> Host;
    SlotArray<QString> Port;
    SlotArray<QString> Pass;
    SlotArray<bool> Sockets{};
    SlotArray<QString> Mods;
    int Last = -1;
    // As ModTable::UnloadedKeys.
    QStringList UnloadedKeys;
};
