#include "settings/MasterSettings.h"

#include "base/LauncherError.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

struct Field {
    const char* name;
    QString MasterSettings::*member;
};

constexpr Field fields[] = {{"masters", &MasterSettings::masters},
                            {"mastergame", &MasterSettings::game},
                            {"masterkey", &MasterSettings::key}};

} // namespace

QStringList MasterSettings::masterList() const {
    static const QRegularExpression separators(QStringLiteral("[\\s;]+"));
    return masters.split(separators, Qt::SkipEmptyParts);
}

QStringList loadMasterSettings(MasterSettings& settings) {
    settings = MasterSettings();
    QStringList notices;
    SettingsStore store; // dropped without commit: nothing reaches the file
    store.setRootKey(RootKey::CurrentUser);
    if (!store.openKey(StoreKeys::Launcher, false))
        return notices;
    for (const Field& field : fields) {
        try {
            settings.*field.member = store.readString(QLatin1String(field.name));
        } catch (const LauncherError& error) {
            notices << QCoreApplication::translate("MasterSettings",
                                                   "The internet server setting is not used: %1")
                           .arg(error.message());
        }
    }
    return notices;
}

void writeMasterSettings(SettingsStore& launcherKey, const MasterSettings& settings,
                         const MasterSettings* stored) {
    for (const Field& field : fields)
        if (!stored || settings.*field.member != stored->*field.member)
            launcherKey.writeString(QLatin1String(field.name), settings.*field.member);
}
