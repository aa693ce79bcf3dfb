#include "settings/RunnerSettings.h"

#include "base/LauncherError.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

namespace {

const QString kRunner = QStringLiteral("runner");
const QString kWine = QStringLiteral("wine");
const QString kProton = QStringLiteral("proton");
const QString kLaunchCommand = QStringLiteral("launchcommand");

QString wrongKindNotice(const QString& name, const QString& expected) {
    return QCoreApplication::translate("RunnerSettings",
                                       "The settings store's value \"%1\" is not %2, so the "
                                       "launcher does not use it; it stays in the store until the "
                                       "options dialog sets it.")
        .arg(name, expected);
}

void readText(const SettingsStore& store, const QString& name, QString& field,
              QStringList& notices) {
    try {
        field = store.readString(name);
    } catch (const LauncherError&) {
        notices << wrongKindNotice(name, QCoreApplication::translate("RunnerSettings", "a text"));
    }
}

} // namespace

void readRunnerSettings(const SettingsStore& store, RunnerSettings& runner, QStringList& notices) {
    runner = RunnerSettings();
    if (store.hasValue(kRunner)) {
        try {
            runner.runner = store.readInteger(kRunner);
        } catch (const LauncherError&) {
            notices << wrongKindNotice(kRunner,
                                       QCoreApplication::translate("RunnerSettings", "a number"));
        }
    }
    readText(store, kWine, runner.wine, notices);
    readText(store, kProton, runner.proton, notices);
    readText(store, kLaunchCommand, runner.launchCommand, notices);
}

void writeRunnerSettings(SettingsStore& store, const RunnerSettings& runner,
                         const RunnerSettings* stored) {
    if (!stored || runner.runner != stored->runner)
        store.writeInteger(kRunner, runner.runner);
    const std::pair<const QString&, QString RunnerSettings::*> texts[] = {
        {kWine, &RunnerSettings::wine},
        {kProton, &RunnerSettings::proton},
        {kLaunchCommand, &RunnerSettings::launchCommand}};
    for (const auto& [name, field] : texts)
        if (!stored || runner.*field != stored->*field)
            store.writeString(name, runner.*field);
}
