#pragma once

#include "query/QueryTable.h"
#include "settings/Tables.h"

#include <QString>
#include <vector>

// What one server's row shows after a sweep; the texts are the browser's
// ("??" ping and blank players and mission until a reply says otherwise).
struct ServerAnswer {
    bool answered = false;
    QString ping = QStringLiteral("??");
    QString players;
    QString mission;
};

// Sends the status query to every server of the table from one endpoint on a
// port the platform chooses, then takes replies until timeoutMs after the
// last send, or until every server answered and no datagram came for a
// short while (a reply may come in several datagrams). Replies are matched
// and read by the browser's own reply handling; the players land in queries.
// A server whose host or port cannot be used is not sent to and stays silent.
std::vector<ServerAnswer> runQuerySweep(const ServerTable& servers, QueryTable& queries,
                                        int timeoutMs);
