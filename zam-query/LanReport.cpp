#include "zam-query/LanReport.h"

#include "query/LanDiscovery.h"
#include "zam-query/QueryReport.h"

#include <cstdio>

int printLanServers(const QueryRequest& request) {
    const QList<LanServer> found = discoverLanServers(request.timeoutMs);
    std::vector<QueriedServer> servers;
    for (const LanServer& lan : found) {
        QueriedServer& server = servers.emplace_back();
        server.name = lan.name;
        server.host = lan.address;
        server.port = QString::number(lan.gamePort);
        server.sockets = lan.sockets;
        server.players().reset();
        for (qsizetype i = 0; i < lan.playerNames.size(); ++i) {
            server.players().add(QLatin1StringView(lan.playerNames[i].toLatin1()));
            server.players().setLastScore(QLatin1StringView(lan.playerScores[i].toLatin1()));
        }
        server.answer = {true, QString::number(lan.pingMs), lan.players, lan.mission};
    }
    writeQueryReport(servers, request.json, stdout);
    return servers.empty() ? 1 : 0;
}
