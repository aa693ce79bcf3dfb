#include "query/LanDiscovery.h"

#include "base/LauncherError.h"
#include "query/StatusQuery.h"
#include "query/StatusTokenizer.h"
#include "query/StatusValue.h"

#include <QEventLoop>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>

namespace {

// The game values of a reply, read as the browser reads them.
class LanReader : public StatusReader {
public:
    explicit LanReader(LanServer& server) : server_(server) {}

    void onGametype(QLatin1StringView value) override { server_.mission = value; }
    void onNumplayers(QLatin1StringView value) override { numplayers_ = value; }
    void onMaxplayers(qint32 value) override {
        maxplayers_ = QString::number(reducedMaxPlayers(value));
    }
    void onPlayer(QLatin1StringView value) override {
        server_.playerNames << QString(value);
        server_.playerScores << QString();
    }
    void onScore(QLatin1StringView value) override {
        if (!server_.playerScores.isEmpty())
            server_.playerScores.last() = value;
    }
    void showPlayers() {
        if (!numplayers_.isNull())
            server_.players = numplayers_ + u'/' + maxplayers_;
    }

private:
    LanServer& server_;
    QString numplayers_;
    QString maxplayers_ = QStringLiteral("??");
};

} // namespace

void readLanReply(QByteArrayView datagram, int queryPort, LanServer& server) {
    server.queryPort = queryPort;
    const QString name = statusValue(datagram, "hostname");
    if (!name.isNull())
        server.name = name;
    bool hasHostPort = false;
    const int hostPort = statusValue(datagram, "hostport").toInt(&hasHostPort);
    const int offset = queryPort - hostPort;
    if (hasHostPort && (offset == QueryPortOffset(true) || offset == QueryPortOffset(false))) {
        server.gamePort = hostPort;
        server.sockets = offset == QueryPortOffset(true);
    } else if (server.gamePort == 0) {
        server.gamePort = queryPort - QueryPortOffset(true);
        server.sockets = true;
    }
    LanReader reader(server);
    try {
        StatusTokenizer::tokenize(datagram, reader);
    } catch (const LauncherError&) {
        // A maxplayers value that is no integer: what came before it stays.
    }
    reader.showPlayers();
}

QList<QHostAddress> interfaceBroadcasts() {
    QList<QHostAddress> addresses;
    for (const QNetworkInterface& each : QNetworkInterface::allInterfaces()) {
        const auto flags = each.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::CanBroadcast))
            continue;
        for (const QNetworkAddressEntry& entry : each.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol &&
                !entry.broadcast().isNull() && !addresses.contains(entry.broadcast()))
                addresses << entry.broadcast();
    }
    return addresses;
}

LanDiscovery::LanDiscovery(QObject* parent)
    : QObject(parent), socket_(new QUdpSocket(this)), collect_(new QTimer(this)) {
    collect_->setSingleShot(true);
    connect(collect_, &QTimer::timeout, this, [this] {
        socket_->close();
        Q_EMIT finished();
    });
    connect(socket_, &QUdpSocket::readyRead, this, &LanDiscovery::takeDatagrams);
}

LanDiscovery::~LanDiscovery() = default;

bool LanDiscovery::isRunning() const {
    return collect_->isActive();
}

void LanDiscovery::start(int collectMs) {
    if (isRunning())
        return;
    found_.clear();
    // A UDP socket may broadcast; a port of the platform's choice keeps the
    // search clear of the windows' own ports.
    socket_->bind(QHostAddress::AnyIPv4, 0);
    sinceSend_.start();
    const QList<QHostAddress> targets = targets_.isEmpty() ? interfaceBroadcasts() : targets_;
    const int firstQueryPort = FirstGamePort + QueryPortOffset(true);
    const int lastQueryPort = LastGamePort + QueryPortOffset(false);
    for (const QHostAddress& target : targets)
        for (int port = firstQueryPort; port <= lastQueryPort; ++port)
            socket_->writeDatagram(StatusQuery.data(), StatusQuery.size(), target, quint16(port));
    collect_->start(collectMs);
}

void LanDiscovery::takeDatagrams() {
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram(2048);
        if (!isRunning() || datagram.senderPort() < 0)
            continue;
        const QString address = QHostAddress(datagram.senderAddress().toIPv4Address()).toString();
        const int port = datagram.senderPort();
        auto server = std::find_if(found_.begin(), found_.end(), [&](const LanServer& s) {
            return s.address == address && s.queryPort == port;
        });
        if (server == found_.end()) {
            LanServer first;
            first.address = address;
            first.pingMs = sinceSend_.elapsed();
            server = found_.insert(found_.end(), first);
        }
        readLanReply(datagram.data(), port, *server);
    }
}

QList<LanServer> LanDiscovery::servers() const {
    QList<LanServer> sorted = found_;
    std::sort(sorted.begin(), sorted.end(), [](const LanServer& a, const LanServer& b) {
        const quint32 left = QHostAddress(a.address).toIPv4Address();
        const quint32 right = QHostAddress(b.address).toIPv4Address();
        return left != right ? left < right : a.gamePort < b.gamePort;
    });
    return sorted;
}

QList<LanServer> discoverLanServers(int collectMs) {
    LanDiscovery discovery;
    QEventLoop loop;
    QObject::connect(&discovery, &LanDiscovery::finished, &loop, &QEventLoop::quit);
    discovery.start(collectMs);
    loop.exec();
    return discovery.servers();
}
