#pragma once

#include "settings/Registry.h"
#include "settings/Tables.h"

#include <memory>

// The settings and tables a load fills, kept on the heap (the tables are
// large), loaded from and saved to the store at StoreLocation::path().
struct StoreTables {
    LauncherSettings settings;
    std::unique_ptr<ModTable> mods = std::make_unique<ModTable>();
    std::unique_ptr<ServerTable> servers = std::make_unique<ServerTable>();

    // A load that asks for the executable gets `answer`; its messages are noted.
    LoadOutcome load(const QString& answer = QString()) {
        return loadRegistry(settings, *mods, *servers, [this, answer](const QString& message) {
            prompts << message;
            return answer;
        });
    }
    void save() const { saveRegistry(settings, *mods, *servers); }

    QStringList prompts;
};
