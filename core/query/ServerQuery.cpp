#include "query/ServerQuery.h"

#include "query/HostLookup.h"
#include "query/StatusQuery.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"

#include <QCoreApplication>

namespace {

class TableNotes : public QueryNotes {
public:
    TableNotes(const ServerTable& servers, QueryTable& queries, int slot,
               const std::function<void()>& afterLookup)
        : servers_(servers), queries_(queries), slot_(slot), afterLookup_(afterLookup) {}

    void lookedUp(quint32 address) override {
        if (afterLookup_)
            afterLookup_();
        queries_.setFirstName(
            slot_, QCoreApplication::translate("ServerQuery", "no response from server"));
        queries_.noteAddress(slot_, address, servers_.Port[slot_], servers_.Sockets[slot_]);
    }
    void sending(quint32 tick) override {
        queries_.resetPlayers(slot_);
        queries_.SendTick[slot_] = tick;
    }

private:
    const ServerTable& servers_;
    QueryTable& queries_;
    int slot_;
    const std::function<void()>& afterLookup_;
};

} // namespace

void sendServerQuery(UdpEndpoint& endpoint, const QString& host, const QString& port, bool sockets,
                     const HostAddressLookup& resolve, QueryNotes& notes) {
    quint32 address = 0;
    try {
        address = resolve(host);
    } catch (...) {
    }
    notes.lookedUp(address);
    endpoint.setRemotePort(queryPort(port, sockets));
    endpoint.setRemoteHost(host);
    notes.sending(TickSource::now());
    try {
        endpoint.SendDatagram(StatusQuery, StatusQueryLength);
    } catch (...) {
        // No reply will come for this server.
    }
}

void sendServerQuery(UdpEndpoint& endpoint, const ServerTable& servers, QueryTable& queries,
                     int slot, const HostAddressLookup& resolve,
                     const std::function<void()>& afterLookup) {
    TableNotes notes(servers, queries, slot, afterLookup);
    sendServerQuery(endpoint, servers.Host[slot], servers.Port[slot], servers.Sockets[slot],
                    resolve, notes);
}
