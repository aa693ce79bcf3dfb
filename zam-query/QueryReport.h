#pragma once

#include "zam-query/QueriedServer.h"

#include <QByteArray>
#include <vector>

// A table with a header line and one line per server: name, address
// (host:game port), ping, players, mission; columns padded to their widest
// text. A server without a name shows "-".
QByteArray formatQueryTable(const std::vector<QueriedServer>& servers);

// A JSON array with one object per server: name, host, port, sockets,
// answered, ping (a number, or null when silent), players, mission and
// playerList (objects with name and score).
QByteArray formatQueryJson(const std::vector<QueriedServer>& servers);
