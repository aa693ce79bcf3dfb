#include "zam-query/MasterServers.h"

#include "query/MasterFetch.h"
#include "settings/MasterSettings.h"

bool readMasterServers(QueryRequest& request, QStringList& errors) {
    MasterSettings settings;
    errors << loadMasterSettings(settings);
    settings.masters = request.masters.value_or(settings.masters);
    settings.game = request.masterGame.value_or(settings.game);
    settings.key = request.masterKey.value_or(settings.key);
    const QStringList masters = settings.masterList();
    if (masters.isEmpty() || settings.game.isEmpty()) {
        errors << QStringLiteral("no master server or game name; give --master HOST:PORT and "
                                 "--game NAME, or set them in the launcher's options");
        return false;
    }
    MasterFetch fetch;
    fetch.fetch({masters, settings.game, settings.key, request.masterTimeoutMs});
    errors << fetch.errors();
    if (!fetch.succeeded())
        return false;
    request.servers.clear();
    request.servers.reserve(fetch.entries().size());
    for (const MasterEntry& entry : fetch.entries()) {
        QueriedServer& server = request.servers.emplace_back();
        server.host = entry.host();
        server.port = QString::number(int(entry.queryPort) - 1);
        server.gamePortFromReply = true;
    }
    return true;
}
