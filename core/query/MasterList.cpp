#include "query/MasterList.h"

#include "query/HostLookup.h"

#include <QHostAddress>
#include <QSet>

namespace {

constexpr QByteArrayView finalMark("\\final\\");
constexpr QByteArrayView errorMark("\\error\\");
constexpr qsizetype compressedEntrySize = 6;

bool inNet(quint32 address, quint32 net, int bits) {
    return (address >> (32 - bits)) == (net >> (32 - bits));
}

std::optional<MasterEntry> plainEntry(QByteArrayView text) {
    const qsizetype colon = text.lastIndexOf(':');
    if (colon <= 0)
        return std::nullopt;
    const std::optional<quint32> address =
        parseDottedAddress(QString::fromLatin1(text.first(colon)));
    bool ok = false;
    const uint port = text.sliced(colon + 1).toUInt(&ok);
    if (!address || !ok || port == 0 || port > 0xFFFF)
        return std::nullopt;
    return MasterEntry{*address, quint16(port)};
}

class EntryCollector {
public:
    explicit EntryCollector(bool keepPrivate) : keepPrivate_(keepPrivate) {}

    // False once the list is full.
    bool add(const MasterEntry& entry) {
        if (entry.queryPort == 0 || (!keepPrivate_ && !isPublicUnicast(entry.address)))
            return true;
        const quint64 id = quint64(entry.address) << 16 | entry.queryPort;
        if (!seen_.contains(id)) {
            seen_.insert(id);
            entries.push_back(entry);
        }
        return entries.size() < size_t(MasterListMaxEntries);
    }

    std::vector<MasterEntry> entries;

private:
    bool keepPrivate_;
    QSet<quint64> seen_;
};

} // namespace

QString MasterEntry::host() const {
    return QHostAddress(address).toString();
}

bool isPublicUnicast(quint32 address) {
    return !(inNet(address, 0x00000000, 8) || inNet(address, 0x7F000000, 8) ||
             inNet(address, 0x0A000000, 8) || inNet(address, 0xAC100000, 12) ||
             inNet(address, 0xC0A80000, 16) || inNet(address, 0xA9FE0000, 16) ||
             address >= 0xE0000000);
}

std::optional<qsizetype> masterListEnd(QByteArrayView answer, bool compressed, qsizetype from) {
    qsizetype at = std::max<qsizetype>(0, from - (finalMark.size() - 1));
    if (compressed)
        at -= at % compressedEntrySize;
    while (true) {
        const qsizetype found = answer.indexOf(finalMark, at);
        if (found < 0)
            return std::nullopt;
        if (!compressed || found % compressedEntrySize == 0)
            return found + finalMark.size();
        at = found + 1;
    }
}

std::optional<QString> masterRefusal(QByteArrayView answer) {
    if (!answer.startsWith(errorMark))
        return std::nullopt;
    QByteArrayView text = answer.sliced(errorMark.size());
    const qsizetype end = text.indexOf('\\');
    return QString::fromLatin1(end < 0 ? text : text.first(end));
}

std::vector<MasterEntry> readMasterList(QByteArrayView answer, bool compressed, bool keepPrivate) {
    EntryCollector collector(keepPrivate);
    if (compressed) {
        for (qsizetype at = 0;
             at + compressedEntrySize <= answer.size() && !answer.sliced(at).startsWith(finalMark);
             at += compressedEntrySize) {
            const auto byte = [&](int k) { return quint32(quint8(answer[at + k])); };
            if (!collector.add({byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3),
                                quint16(byte(4) << 8 | byte(5))}))
                break;
        }
        return std::move(collector.entries);
    }
    // \key\value pairs: the value of every ip key is an entry.
    qsizetype at = answer.startsWith('\\') ? 1 : 0;
    while (at < answer.size()) {
        const qsizetype keyEnd = answer.indexOf('\\', at);
        if (keyEnd < 0)
            break;
        const QByteArrayView key = answer.sliced(at, keyEnd - at);
        if (key == "final")
            break;
        qsizetype valueEnd = answer.indexOf('\\', keyEnd + 1);
        if (valueEnd < 0)
            valueEnd = answer.size();
        if (key == "ip") {
            const std::optional<MasterEntry> entry =
                plainEntry(answer.sliced(keyEnd + 1, valueEnd - keyEnd - 1));
            if (entry && !collector.add(*entry))
                break;
        }
        at = valueEnd + 1;
    }
    return std::move(collector.entries);
}
