#include "settings/BrowserOptions.h"

#include "base/LauncherError.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <functional>

namespace {

const QString kHideEmpty = QStringLiteral("hideempty");
const QString kHideFull = QStringLiteral("hidefull");
const QString kHideSilent = QStringLiteral("hidesilent");
const QString kMaxPing = QStringLiteral("maxping");
const QString kRefresh = QStringLiteral("autorefresh");

// The value's integer when it is present and valid(value) holds; else the
// field keeps its default and a wrong value is noted.
void readInto(const SettingsStore& store, const QString& name, qint32& field,
              const std::function<bool(qint32)>& valid, QStringList& notices) {
    if (!store.hasValue(name))
        return;
    QString problem;
    try {
        const qint32 value = store.readInteger(name);
        if (valid(value)) {
            field = value;
            return;
        }
        problem = QCoreApplication::translate("BrowserOptions", "%1 is out of range").arg(value);
    } catch (const LauncherError& error) {
        problem = error.message();
    }
    notices << QCoreApplication::translate("BrowserOptions",
                                           "The server browser's stored option '%1' cannot be "
                                           "used (%2): the browser uses its default until you "
                                           "change it.")
                   .arg(name, problem);
}

void readFlag(const SettingsStore& store, const QString& name, bool& field, QStringList& notices) {
    qint32 value = field;
    readInto(
        store, name, value, [](qint32 v) { return v == 0 || v == 1; }, notices);
    field = value != 0;
}

} // namespace

void readBrowserOptions(const SettingsStore& store, BrowserOptions& options, QStringList& notices) {
    options = BrowserOptions();
    ServerFilter& filter = options.filter;
    readFlag(store, kHideEmpty, filter.hideEmpty, notices);
    readFlag(store, kHideFull, filter.hideFull, notices);
    readFlag(store, kHideSilent, filter.hideSilent, notices);
    readInto(
        store, kMaxPing, filter.maxPing, [](qint32 v) { return v >= 0 && v <= 9999; }, notices);
    readInto(
        store, kRefresh, options.refreshSeconds,
        [](qint32 v) { return RefreshChoices.contains(v); }, notices);
}

void writeBrowserOptions(SettingsStore& store, const BrowserOptions& now,
                         const BrowserOptions* stored) {
    const auto write = [&](const QString& name, qint32 value, qint32 storedValue) {
        if (!stored || value != storedValue)
            store.writeInteger(name, value);
    };
    const ServerFilter& f = now.filter;
    const ServerFilter& s = stored ? stored->filter : f;
    write(kHideEmpty, f.hideEmpty, s.hideEmpty);
    write(kHideFull, f.hideFull, s.hideFull);
    write(kHideSilent, f.hideSilent, s.hideSilent);
    write(kMaxPing, f.maxPing, s.maxPing);
    write(kRefresh, now.refreshSeconds, stored ? stored->refreshSeconds : 0);
}
