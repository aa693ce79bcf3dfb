#pragma once

#include "query/QueryTable.h"
#include "settings/Tables.h"
#include "zam-query/QuerySweep.h"

#include <QByteArray>
#include <vector>

// A table with a header line and one line per server: name, address
// (host:game port), ping, players, mission; columns padded to their widest
// text. A server without a name shows "-".
QByteArray formatQueryTable(const ServerTable& servers, const std::vector<ServerAnswer>& answers);

// A JSON array with one object per server: name, host, port, sockets,
// answered, ping (a number, or null when silent), players, mission and
// playerList (objects with name and score).
QByteArray formatQueryJson(const ServerTable& servers, const QueryTable& queries,
                           const std::vector<ServerAnswer>& answers);
