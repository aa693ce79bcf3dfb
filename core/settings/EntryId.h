#pragma once

#include "settings/FriendSettings.h"
#include "settings/Tables.h"

#include <QTime>
#include <QtGlobal>

// Identifiers of new table entries. An Id names the entry's key in the store,
// so a new one must differ from every Id in the table and from the keys the
// table left in the store (UnloadedKeys): two entries under one key would
// lose one of them.

inline constexpr qint32 MAX_ENTRY_ID = 9'999'999;

// ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds.
quint32 timeOfDayMilliseconds(const QTime& time);

// Draws uniformly from 0 to MAX_ENTRY_ID with a generator seeded by seed,
// drawing again while the Id is in use in the table.
qint32 newEntryId(const ModTable& mods, quint32 seed);
qint32 newEntryId(const ServerTable& servers, quint32 seed);
qint32 newEntryId(const FriendTable& friends, quint32 seed);

// The seed new entries use: the UTC time of day in milliseconds.
quint32 clockSeed();
