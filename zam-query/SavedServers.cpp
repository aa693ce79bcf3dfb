#include "zam-query/SavedServers.h"

#include "settings/IntegerConversion.h"
#include "base/LauncherError.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

bool readSavedServers(ServerTable& servers, QStringList& warnings) {
    SettingsStore store; // dropped without commit: nothing reaches the file
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Servers, false))
        return false;
    servers.Last = -1;
    const QStringList names = store.getKeyNames();
    for (const QString& name : names) {
        if (servers.Last + 1 == SLOT_COUNT) {
            warnings
                << QStringLiteral("only the first %1 saved servers are queried").arg(SLOT_COUNT);
            break;
        }
        const int slot = servers.Last + 1;
        try {
            servers.Id[slot] = parseInteger(name);
            store.openKey(StoreKeys::serverEntry(name), false);
            servers.Name[slot] = store.readString(QStringLiteral("name"));
            servers.Host[slot] = store.readString(QStringLiteral("ip"));
            servers.Port[slot] = store.readString(QStringLiteral("port"));
            servers.Sockets[slot] = store.readBool(QStringLiteral("sockets"));
        } catch (const LauncherError& error) {
            warnings << QStringLiteral("saved server %1 skipped: %2").arg(name, error.message());
            continue;
        }
        servers.Last = slot;
    }
    return true;
}
