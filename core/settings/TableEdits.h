#pragma once

#include "settings/FriendSettings.h"
#include "settings/Tables.h"

// Adding and removing table entries in memory; the editors save and reload
// the store afterwards.

// Takes the slot after the last one for a new entry with a new Id (drawn
// with seed, see EntryId.h); a new mod is unchecked. Returns the slot, or -1
// when all SLOT_COUNT slots are in use.
int addModEntry(ModTable& mods, quint32 seed);
int addServerEntry(ServerTable& servers, quint32 seed);
int addFriendEntry(FriendTable& friends, quint32 seed);

// A server's fields as the servers editor shows them.
struct ServerEntry {
    QString name;
    QString host;
    QString port;
    QString pass;
    bool sockets = true;
    QString mods; // mod directory names, each followed by ';'
};

// Writes entry into slot k, or into a new slot (see addServerEntry) when k
// is -1. Returns the slot written, or -1 when there is no slot for it.
int putServerEntry(ServerTable& servers, int k, const ServerEntry& entry, quint32 seed);

// Removes the entry in slot `removed` in one pass that moves every later
// entry up one slot; -1 removes nothing. A mod moves with its Id. A server
// moves without it: slots keep their Ids, so a moved server is stored under
// the Id of the slot it moves into. A friend moves with its Id.
void deleteModEntry(ModTable& mods, int removed);
void deleteServerEntry(ServerTable& servers, int removed);
void deleteFriendEntry(FriendTable& friends, int removed);
