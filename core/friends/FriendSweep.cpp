#include "friends/FriendSweep.h"

#include "base/LauncherError.h"
#include "friends/FriendMatch.h"
#include "query/HostLookups.h"
#include "query/QueryTable.h"
#include "query/ReplyAccounting.h"
#include "query/ServerQuery.h"
#include "query/UdpEndpoint.h"

#include <QBuffer>
#include <QTimer>

// The players and mission texts a reply would show in the browser's row.
class FriendSweep::Sink : public ServerRowSink {
public:
    void setCell(int server, ServerColumn column, const QString& text) override {
        if (column == PlayersColumn)
            players[server] = text;
        else if (column == MissionColumn)
            mission[server] = text;
        else if (column == PingColumn)
            answered[server] = true;
    }

    SlotArray<QString> players;
    SlotArray<QString> mission;
    SlotArray<bool> answered{};
};

FriendSweep::FriendSweep(QObject* parent)
    : QObject(parent), endpoint_(new UdpEndpoint(this)), lookups_(new HostLookups(this)),
      wait_(new QTimer(this)) {
    endpoint_->setObjectName(QStringLiteral("friendSweepEndpoint"));
    endpoint_->setLocalPort(0);
    wait_->setSingleShot(true);
    wait_->setInterval(ReplyWaitMs);
    connect(wait_, &QTimer::timeout, this, &FriendSweep::finish);
    endpoint_->OnDataReceived = [this](UdpEndpoint*, qint32 size, const QString& ip, qint32 port) {
        takeReply(size, ip, port);
    };
}

FriendSweep::~FriendSweep() = default;

bool FriendSweep::running() const {
    return sending_ || wait_->isActive();
}

void FriendSweep::start(const ServerTable& servers, const FriendTable& friends) {
    if (running())
        return;
    sending_ = true;
    servers_ = std::make_unique<ServerTable>(servers);
    queries_ = std::make_unique<QueryTable>();
    sink_ = std::make_unique<Sink>();
    friends_ = friends;
    lookups_->clear();
    for (int slot = 0; slot <= servers_->Last; ++slot)
        lookups_->start(servers_->Host[slot]);
    endpoint_->useLookups(lookups_);
    const HostAddressLookup resolve = [this](const QString& host) {
        return lookups_->LookupHostAddress(host);
    };
    // A lookup runs the event loop, which may cancel this look.
    for (int slot = 0; sending_ && slot <= servers_->Last; ++slot) {
        try {
            sendServerQuery(*endpoint_, *servers_, *queries_, slot, resolve);
        } catch (const LauncherError&) {
            // A port that is no integer: the server stays silent.
        }
    }
    endpoint_->useLookups(nullptr);
    if (std::exchange(sending_, false))
        wait_->start();
}

void FriendSweep::cancel() {
    sending_ = false;
    wait_->stop();
}

void FriendSweep::takeReply(qint32 size, const QString& fromIp, qint32 port) {
    if (size <= 0 || !running())
        return;
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    endpoint_->CopyDatagram(stream);
    try {
        acceptReply(stream.data(), fromIp, port, endpoint_->arrivalTick(), *servers_, *queries_,
                    *sink_);
    } catch (const LauncherError&) {
        // A bad maxplayers value keeps what was read before it.
    }
}

void FriendSweep::finish() {
    const FriendMatch match(friends_);
    QList<ServerSighting> seen;
    for (int slot = 0; slot <= servers_->Last; ++slot) {
        const bool answered = sink_->answered[slot];
        seen << savedServerSighting(*servers_, slot, match, queries_->PlayerNames[slot],
                                    answered ? queries_->PlayerCount[slot] : 0,
                                    sink_->players[slot], sink_->mission[slot]);
    }
    if (OnDone)
        OnDone(seen);
}
