#include "query/StatusQuery.h"

#include "settings/IntegerConversion.h"

qint32 queryPort(const QString& gamePort, bool sockets) {
    return qint32(quint32(parseInteger(gamePort)) + quint32(QueryPortOffset(sockets)));
}

qint32 queryPort(const ServerTable& servers, int slot) {
    return queryPort(servers.Port[slot], servers.Sockets[slot]);
}
