#pragma once

#include "settings/FriendSettings.h"
#include "zam-query/QueriedServer.h"

#include <QStringList>
#include <vector>

// Reads the launcher's friends list, read-only as readSavedServers does. A
// bad entry ends the list there and is told in warnings.
FriendTable readSavedFriends(QStringList& warnings);

// Keeps only the servers whose answer lists a friend, with those friends in
// QueriedServer::friends. Returns whether any server was kept.
bool keepServersWithFriends(std::vector<QueriedServer>& servers, const FriendTable& friends);
