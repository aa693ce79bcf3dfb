#pragma once

#include "zam-query/QueriedServer.h"

#include <cstdio>
#include <vector>

// Writes the servers to out as an indented JSON array with one object per
// server, its members in name order: answered, host, mission, name, ping (a
// number, or null when silent), playerList (objects with name and score),
// players, port, sockets; with friends also "friends" (after answered): the
// names of QueriedServer::friends. Strings are UTF-8 with the escapes a JSON document
// writer uses, and DEL and C1 escaped as \u00XX as well, so no control
// reaches a terminal. The text goes out as it is made, in blocks: a report
// of many servers never holds its whole text.
void writeQueryJson(const std::vector<QueriedServer>& servers, bool friends, std::FILE* out);
