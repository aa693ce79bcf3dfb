#include "zam-query/LanReport.h"

#include "query/LanDiscovery.h"
#include "zam-query/QueryReport.h"

#include <cstdio>

int printLanServers(const QueryRequest& request) {
    const QList<LanServer> found = discoverLanServers(request.timeoutMs);
    ServerTable& servers = *request.servers;
    auto queries = std::make_unique<QueryTable>();
    std::vector<ServerAnswer> answers;
    for (const LanServer& server : found) {
        if (servers.Last + 1 == SLOT_COUNT)
            break;
        const int slot = ++servers.Last;
        servers.Name[slot] = server.name;
        servers.Host[slot] = server.address;
        servers.Port[slot] = QString::number(server.gamePort);
        servers.Sockets[slot] = server.sockets;
        queries->resetPlayers(slot);
        for (qsizetype i = 0; i < server.playerNames.size(); ++i) {
            queries->addPlayer(slot, QLatin1StringView(server.playerNames[i].toLatin1()));
            queries->setLastScore(slot, QLatin1StringView(server.playerScores[i].toLatin1()));
        }
        answers.push_back({true, QString::number(server.pingMs), server.players, server.mission});
    }
    const QByteArray output = request.json ? formatQueryJson(servers, *queries, answers)
                                           : formatQueryTable(servers, answers);
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    return answers.empty() ? 1 : 0;
}
