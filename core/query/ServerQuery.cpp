#include "query/ServerQuery.h"

#include "query/HostLookup.h"
#include "query/StatusQuery.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"

void sendServerQuery(UdpEndpoint& endpoint, const ServerTable& servers, QueryTable& queries,
                     int slot, const HostAddressLookup& resolve,
                     const std::function<void()>& afterLookup) {
    queries.SendTick[slot] = TickSource::now();
    quint32 address = 0;
    try {
        address = resolve(servers.Host[slot]);
    } catch (...) {
    }
    if (afterLookup)
        afterLookup();
    queries.setFirstName(slot, QStringLiteral("no response from server"));
    queries.ResolvedIp[slot] = dottedText(address);
    endpoint.setRemotePort(queryPort(servers, slot));
    endpoint.setRemoteHost(servers.Host[slot]);
    queries.resetPlayers(slot);
    try {
        endpoint.SendDatagram(StatusQuery, StatusQueryLength);
    } catch (...) {
        // No reply will come for this server.
    }
}
