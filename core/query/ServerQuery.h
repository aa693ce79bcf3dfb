#pragma once

#include "query/QueryTable.h"
#include "settings/Tables.h"

#include <functional>

class UdpEndpoint;

// Resolves a server's host to an IPv4 address, 0 (0.0.0.0) when it cannot.
using HostAddressLookup = std::function<quint32(const QString& host)>;

// The query of one saved server, as a sweep of the browser or of zam-query
// makes it: note the send tick, resolve the host, let the caller show that
// the server is being asked (afterLookup), note the resolved address and
// start the server's player list afresh, aim the endpoint at the server's
// query port and send the status request. A port that is no integer throws
// its conversion error before anything is sent; a failed lookup or send is
// swallowed, and the server stays silent.
void sendServerQuery(UdpEndpoint& endpoint, const ServerTable& servers, QueryTable& queries,
                     int slot, const HostAddressLookup& resolve,
                     const std::function<void()>& afterLookup = {});
