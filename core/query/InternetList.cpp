#include "query/InternetList.h"

#include "query/HostLookup.h"
#include "query/ReplyAccounting.h"

#include <QFile>
#include <QSaveFile>

namespace {

// The cache file: a first line "MASTER TIME", then one "A.B.C.D:PORT" line
// per server with its query port.
constexpr qint64 cacheFileLimit = MasterListMaxBytes;

// The values of the keys the list needs, from one reply.
struct ReplyDetails {
    QString hostname;
    QString hostport;
    bool hasPassword = false;
    bool password = false;
};

ReplyDetails readDetails(QByteArrayView datagram) {
    ReplyDetails details;
    const qsizetype zero = datagram.indexOf('\0');
    if (zero >= 0)
        datagram = datagram.first(zero);
    qsizetype at = datagram.startsWith('\\') ? 1 : 0;
    while (at < datagram.size()) {
        const qsizetype keyEnd = datagram.indexOf('\\', at);
        if (keyEnd < 0)
            break;
        const qsizetype valueEnd = datagram.indexOf('\\', keyEnd + 1);
        if (valueEnd < 0)
            break; // a value counts only when a backslash ends it
        const QByteArrayView key = datagram.sliced(at, keyEnd - at);
        const QByteArrayView value = datagram.sliced(keyEnd + 1, valueEnd - keyEnd - 1);
        if (key == "hostname")
            details.hostname = QString::fromLatin1(value);
        else if (key == "hostport")
            details.hostport = QString::fromLatin1(value);
        else if (key == "password")
            details.password = value == "1";
        at = valueEnd + 1;
    }
    return details;
}

} // namespace

bool InternetList::mayFetch(qint64 nowMs) const {
    return lastFetchMs_ < 0 || nowMs - lastFetchMs_ >= FetchIntervalMs;
}

void InternetList::take(const std::vector<MasterEntry>& entries, const QString& master) {
    fill(entries);
    master_ = master;
    fetchedAt_ = QDateTime::currentDateTimeUtc();
    old_ = false;
}

void InternetList::fill(const std::vector<MasterEntry>& entries) {
    servers_ = ServerTable();
    listedCount_ = int(entries.size());
    const int count = std::min(listedCount_, SLOT_COUNT);
    for (int k = 0; k < count; ++k) {
        servers_.Id[k] = k;
        servers_.Host[k] = entries[size_t(k)].host();
        servers_.Port[k] = QString::number(int(entries[size_t(k)].queryPort) - 1);
        servers_.Sockets[k] = true;
        hostPort_[k].clear();
        password_[k] = false;
    }
    servers_.Last = count - 1;
}

QList<int> InternetList::readReply(QByteArrayView datagram, const QString& fromIp, qint32 port,
                                   const QueryTable& queries) {
    QList<int> matched;
    const std::optional<quint32> address = parseDottedAddress(fromIp);
    if (!address || port < 0 || port > 0xFFFF)
        return matched;
    const ReplyDetails details = readDetails(datagram);
    queries.routes.forEach(*address, quint16(port), [&](int slot) {
        if (slot > servers_.Last || !replyMatches(servers_, queries, slot, fromIp, port))
            return;
        if (!details.hostport.isEmpty())
            hostPort_[slot] = details.hostport;
        password_[slot] = password_[slot] || details.password;
        if (!details.hostname.isEmpty())
            servers_.Name[slot] = details.hostname;
        matched << slot;
    });
    return matched;
}

QString InternetList::joinPort(int slot) const {
    bool ok = false;
    const int port = hostPort_[slot].toInt(&ok);
    return ok && port > 0 && port <= 0xFFFF ? QString::number(port) : servers_.Port[slot];
}

void InternetList::save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray text = master_.toUtf8() + ' ' + fetchedAt_.toString(Qt::ISODate).toLatin1() + '\n';
    for (int k = 0; k <= servers_.Last; ++k)
        text += servers_.Host[k].toLatin1() + ':' +
                QByteArray::number(servers_.Port[k].toInt() + 1) + '\n';
    file.write(text);
    file.commit();
}

bool InternetList::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > cacheFileLimit)
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    const QList<QByteArray> head = lines.value(0).split(' ');
    const QDateTime fetched =
        QDateTime::fromString(QString::fromLatin1(head.value(1)), Qt::ISODate);
    if (head.size() != 2 || !fetched.isValid())
        return false;
    QByteArray plain;
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            plain += "\\ip\\" + lines[i];
    fill(readMasterList(plain + "\\final\\", false, true));
    master_ = QString::fromUtf8(head[0]);
    fetchedAt_ = fetched;
    old_ = true;
    return true;
}
