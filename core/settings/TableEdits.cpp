#include "settings/TableEdits.h"

#include "settings/EntryId.h"

namespace {

template <typename Table> int takeNewSlot(Table& table, quint32 seed) {
    if (table.Last >= SLOT_COUNT - 1)
        return -1;
    const qint32 id = newEntryId(table, seed); // drawn before the new slot counts
    const int k = ++table.Last;
    table.Id[k] = id;
    return k;
}

// Slot i receives slot j for every j, i advancing except past `removed`.
template <typename Table, typename Move> void closeGap(Table& table, int removed, Move move) {
    int i = 0;
    for (int j = 0; j <= table.Last; ++j) {
        move(i, j);
        if (j != removed)
            ++i;
    }
    table.Last = i - 1;
}

} // namespace

int addModEntry(ModTable& mods, quint32 seed) {
    const int k = takeNewSlot(mods, seed);
    if (k >= 0)
        mods.Checked[k] = false;
    return k;
}

int addServerEntry(ServerTable& servers, quint32 seed) {
    return takeNewSlot(servers, seed);
}

int putServerEntry(ServerTable& servers, int k, const ServerEntry& entry, quint32 seed) {
    if (k < 0)
        k = addServerEntry(servers, seed);
    if (k < 0)
        return -1;
    servers.Name[k] = entry.name;
    servers.Host[k] = entry.host;
    servers.Port[k] = entry.port;
    servers.Pass[k] = entry.pass;
    servers.Sockets[k] = entry.sockets;
    servers.Mods[k] = entry.mods;
    return k;
}

int addFriendEntry(FriendTable& friends, quint32 seed) {
    return takeNewSlot(friends, seed);
}

void deleteModEntry(ModTable& mods, int removed) {
    closeGap(mods, removed, [&mods](int i, int j) {
        mods.Name[i] = mods.Name[j];
        mods.Id[i] = mods.Id[j];
        mods.Dir[i] = mods.Dir[j];
        mods.Checked[i] = mods.Checked[j];
    });
}

void deleteServerEntry(ServerTable& servers, int removed) {
    closeGap(servers, removed, [&servers](int i, int j) {
        servers.Name[i] = servers.Name[j];
        servers.Host[i] = servers.Host[j];
        servers.Pass[i] = servers.Pass[j];
        servers.Port[i] = servers.Port[j];
        servers.Sockets[i] = servers.Sockets[j];
        servers.Mods[i] = servers.Mods[j];
    });
}

void deleteFriendEntry(FriendTable& friends, int removed) {
    closeGap(friends, removed, [&friends](int i, int j) {
        friends.Name[i] = friends.Name[j];
        friends.Id[i] = friends.Id[j];
    });
}
