#include "query/ServerFilter.h"

namespace {

std::optional<qint64> numberOf(const QString& text) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace

std::optional<bool> hasFreeSlot(const QString& players, const QString& maximum) {
    const std::optional<qint64> count = numberOf(players);
    const std::optional<qint64> most = numberOf(maximum);
    if (!count || !most)
        return std::nullopt;
    return *count < *most;
}

bool serverShown(const ServerFilter& filter, const QString& ping, const QString& players) {
    if (filter.hideSilent && ping.trimmed() == QStringLiteral("??"))
        return false;
    if (filter.maxPing > 0) {
        const std::optional<qint64> milliseconds = numberOf(ping);
        if (milliseconds && *milliseconds > filter.maxPing)
            return false;
    }
    const QString count = players.section(u'/', 0, 0);
    if (filter.hideEmpty && numberOf(count) == 0)
        return false;
    if (filter.hideFull && hasFreeSlot(count, players.section(u'/', 1, 1)) == false)
        return false;
    return true;
}
