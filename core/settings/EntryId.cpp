#include "settings/EntryId.h"

#include "settings/IntegerConversion.h"

#include <QDateTime>
#include <QSet>
#include <random>

namespace {

template <typename Table> QSet<qint32> idsInUse(const Table& table) {
    QSet<qint32> ids;
    for (int k = 0; k <= table.Last; ++k)
        ids.insert(table.Id[k]);
    // A key such as "0042" still loads as Id 42.
    for (const QString& key : table.UnloadedKeys) {
        qint32 id = 0;
        if (tryParseInteger(key, id))
            ids.insert(id);
    }
    return ids;
}

qint32 drawUnused(const QSet<qint32>& inUse, quint32 seed) {
    std::mt19937 generator(seed);
    std::uniform_int_distribution<qint32> uniform(0, MAX_ENTRY_ID);
    qint32 id = uniform(generator);
    while (inUse.contains(id))
        id = uniform(generator);
    return id;
}

} // namespace

quint32 timeOfDayMilliseconds(const QTime& time) {
    return ((quint32(time.hour()) * 60 + quint32(time.minute())) * 60 + quint32(time.second())) *
               1000 +
           quint32(time.msec());
}

qint32 newEntryId(const ModTable& mods, quint32 seed) {
    return drawUnused(idsInUse(mods), seed);
}

qint32 newEntryId(const ServerTable& servers, quint32 seed) {
    return drawUnused(idsInUse(servers), seed);
}

qint32 newEntryId(const FriendTable& friends, quint32 seed) {
    return drawUnused(idsInUse(friends), seed);
}

quint32 clockSeed() {
    return timeOfDayMilliseconds(QDateTime::currentDateTimeUtc().time());
}
