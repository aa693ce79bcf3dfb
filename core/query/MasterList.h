#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// One server of a master's list: its IPv4 address and its query port.
struct MasterEntry {
    quint32 address = 0;
    quint16 queryPort = 0;

    bool operator==(const MasterEntry&) const = default;
    QString host() const;
};

// True for an address a list may name: not 0/8, 127/8, 10/8, 172.16/12,
// 192.168/16, 169.254/16, multicast (224/4) or the reserved and broadcast
// range above it.
bool isPublicUnicast(quint32 address);

// What a master may make us hold at most.
inline constexpr int MasterListMaxEntries = 65536;
inline constexpr qsizetype MasterListMaxBytes = 2 * 1024 * 1024;

// The end of a master's answer to the list request: the offset just past its
// `\final\`, or nothing while it has not come. A compressed list is 6-byte
// entries (4 address bytes, a big-endian port), so its `\final\` starts at a
// multiple of 6; a plain one ends at the first `\final\`. from is where to
// start looking (the size of the answer when last asked), so that a long
// answer arriving in pieces is looked through once.
std::optional<qsizetype> masterListEnd(QByteArrayView answer, bool compressed, qsizetype from);

// The text of an `\error\TEXT` answer, or nothing when the answer is none.
std::optional<QString> masterRefusal(QByteArrayView answer);

// The servers of a complete answer (up to its `\final\`): plain `\ip\A.B.C.D:PORT`
// entries (other keys and entries that are no address and port are passed
// over) or compressed 6-byte ones. Duplicates are dropped, and so are
// addresses that are not public unicast unless keepPrivate; at most
// MasterListMaxEntries are kept, in the order the master sent them.
std::vector<MasterEntry> readMasterList(QByteArrayView answer, bool compressed, bool keepPrivate);
