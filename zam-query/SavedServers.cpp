#include "zam-query/SavedServers.h"

#include "base/LauncherError.h"
#include "settings/IntegerConversion.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

bool readSavedServers(std::vector<QueriedServer>& servers, QStringList& warnings) {
    SettingsStore store; // dropped without commit: nothing reaches the file
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Servers, false))
        return false;
    servers.clear();
    const QStringList names = store.getKeyNames();
    for (const QString& name : names) {
        QueriedServer server;
        try {
            parseInteger(name);
            store.openKey(StoreKeys::serverEntry(name), false);
            server.name = store.readString(QStringLiteral("name"));
            server.host = store.readString(QStringLiteral("ip"));
            server.port = store.readString(QStringLiteral("port"));
            server.sockets = store.readBool(QStringLiteral("sockets"));
        } catch (const LauncherError& error) {
            warnings << QStringLiteral("saved server %1 skipped: %2").arg(name, error.message());
            continue;
        }
        servers.push_back(std::move(server));
    }
    return true;
}
