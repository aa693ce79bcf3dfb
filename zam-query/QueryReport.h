#pragma once

#include "zam-query/QueriedServer.h"

#include <cstdio>
#include <vector>

// Writes what the servers answered to out. The table has a header line and
// one line per server: name, address (host:game port), ping, players,
// mission; columns padded to their widest text; a server without a name
// shows "-". The JSON (json) is an array with one object per server: name,
// host, port, sockets, answered, ping (a number, or null when silent),
// players, mission and playerList (objects with name and score). With
// friends, the table ends with a FRIENDS column and each object has a
// "friends" array: the names of QueriedServer::friends.
void writeQueryReport(const std::vector<QueriedServer>& servers, bool json, std::FILE* out,
                      bool friends = false);
