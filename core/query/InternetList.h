#pragma once

#include "query/MasterList.h"
#include "query/QueryTable.h"
#include "settings/Tables.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <vector>

// The servers of a master's list as the browser shows them: a server table
// of at most SLOT_COUNT servers at their game ports (the query port - 1,
// Sockets), named by their replies' hostname, with what the replies tell
// about joining them. The last list is kept in a file and read back at the
// next start, marked as old until a fetch brings a new one.
class InternetList {
public:
    // Fetches come at most this often, whatever the user presses.
    static constexpr qint64 FetchIntervalMs = 60000;

    const ServerTable& servers() const { return servers_; }
    // Servers the master listed, the ones beyond the table's room included.
    int listedCount() const { return listedCount_; }
    QString master() const { return master_; }
    QDateTime fetchedAt() const { return fetchedAt_; }
    // The list was read from the file and not fetched since.
    bool old() const { return old_; }

    // Whether a fetch may start at nowMs (a monotonic clock): never fetched,
    // or FetchIntervalMs after the last one started.
    bool mayFetch(qint64 nowMs) const;
    void noteFetchStarted(qint64 nowMs) { lastFetchMs_ = nowMs; }

    // A new list from master, fetched now.
    void take(const std::vector<MasterEntry>& entries, const QString& master);

    // Reads what one reply says of the servers it belongs to (hostname,
    // hostport, password); returns the slots it belongs to.
    QList<int> readReply(QByteArrayView datagram, const QString& fromIp, qint32 port,
                         const QueryTable& queries);

    // The port a player joins: the reply's hostport, else the listed one.
    QString joinPort(int slot) const;
    bool needsPassword(int slot) const { return password_[slot]; }

    // The list in the file at path and back; a missing or unreadable file
    // leaves the list empty. load returns whether a list was read.
    void save(const QString& path) const;
    bool load(const QString& path);

private:
    void fill(const std::vector<MasterEntry>& entries);

    ServerTable servers_;
    SlotArray<QString> hostPort_;
    SlotArray<bool> password_{};
    int listedCount_ = 0;
    QString master_;
    QDateTime fetchedAt_;
    bool old_ = false;
    qint64 lastFetchMs_ = -1;
};
