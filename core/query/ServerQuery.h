#pragma once

#include "query/QueryTable.h"
#include "settings/Tables.h"

#include <functional>

class UdpEndpoint;

// Resolves a server's host to an IPv4 address, 0 (0.0.0.0) when it cannot.
using HostAddressLookup = std::function<quint32(const QString& host)>;

// What the query step tells its caller about one server, in this order.
class QueryNotes {
public:
    virtual ~QueryNotes() = default;
    // The host was looked up: replies will come from address (0 when it could
    // not be resolved). From here on the server shows as being asked.
    virtual void lookedUp(quint32 address) = 0;
    // The query goes out right after this, at tick: its replies are timed
    // from it, and the server's player list starts afresh.
    virtual void sending(quint32 tick) = 0;
};

// The query of one server, as a sweep of the browser or of zam-query makes
// it: resolve the host, aim the endpoint at the server's query port and send
// the status request. A port that is no integer throws its conversion error
// after lookedUp and before anything is sent; a failed lookup or send is
// swallowed, and the server stays silent. The send tick is taken when the
// datagram goes out, so a slow lookup never counts in a ping: resolve should
// find its answer ready (the sweep started its lookups ahead), and so should
// the endpoint's own resolution (the sweep lends it the same lookups).
void sendServerQuery(UdpEndpoint& endpoint, const QString& host, const QString& port, bool sockets,
                     const HostAddressLookup& resolve, QueryNotes& notes);

// The browser's query of the saved server in slot, noted in queries: the
// first player name "no response from server" and the resolved address after
// the lookup (afterLookup then lets the window show it), the send tick and a
// fresh player list ("no players") before the send.
void sendServerQuery(UdpEndpoint& endpoint, const ServerTable& servers, QueryTable& queries,
                     int slot, const HostAddressLookup& resolve,
                     const std::function<void()>& afterLookup = {});
