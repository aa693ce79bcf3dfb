#pragma once

#include "friends/FriendSightings.h"
#include "settings/FriendSettings.h"

#include <QObject>
#include <functional>
#include <memory>

class HostLookups;
class QTimer;
class UdpEndpoint;
struct QueryTable;

// One look for friends on every saved server, made in the background: the
// browser's query step and reply handling, from an endpoint of its own on a
// port the platform chooses (never the browser's or the watcher's). The
// servers and friends are copied at the start, so editing them meanwhile
// changes nothing; ReplyWaitMs after the last query OnDone gets every server
// that was asked, with the friends its reply listed.
class FriendSweep : public QObject {
    Q_OBJECT
public:
    static constexpr int ReplyWaitMs = 3000;

    explicit FriendSweep(QObject* parent = nullptr);
    ~FriendSweep() override;

    bool running() const;
    // Starts a look unless one runs. A server whose port is no integer is
    // not asked.
    void start(const ServerTable& servers, const FriendTable& friends);
    // Drops the look that runs: OnDone is not called for it.
    void cancel();

    std::function<void(const QList<ServerSighting>& servers)> OnDone;

private:
    class Sink;
    void takeReply(qint32 size, const QString& fromIp, qint32 port);
    void finish();

    UdpEndpoint* endpoint_;
    HostLookups* lookups_;
    QTimer* wait_;
    std::unique_ptr<ServerTable> servers_;
    std::unique_ptr<QueryTable> queries_;
    std::unique_ptr<Sink> sink_;
    FriendTable friends_;
    bool sending_ = false;
};
