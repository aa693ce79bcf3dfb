#include "zam-query/QuerySweep.h"

#include "query/HostLookup.h"
#include "query/HostLookups.h"
#include "query/ReplyAccounting.h"
#include "query/ReplyRoutes.h"
#include "query/ServerQuery.h"
#include "query/StatusQuery.h"
#include "query/StatusValue.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"
#include "zam-query/SendPace.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

// After every server answered, the sweep still waits this long for more
// datagrams of a reply that came in parts, unless every reply's last
// datagram came.
constexpr int quietMs = 5;
// Replies are taken after this many sends at the latest, so the socket's
// receive buffer never fills while a large sweep is sending.
constexpr int sendsBetweenReplies = 32;

// Runs the event loop until a turn of it brings no datagram: every reply
// waiting at the socket has been taken.
void takeWaitingReplies(const size_t& datagrams) {
    size_t before;
    do {
        before = datagrams;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } while (datagrams != before);
}

class AnswerSink : public ServerRowSink {
public:
    explicit AnswerSink(std::vector<QueriedServer>& servers) : servers_(servers) {}

    void setCell(int server, ServerColumn column, const QString& text) override {
        ServerAnswer& answer = servers_[size_t(server)].answer;
        if (column == PingColumn) {
            if (!answer.answered)
                ++answeredCount;
            answer.answered = true;
            answer.ping = text;
        } else if (column == PlayersColumn) {
            answer.players = text;
        } else if (column == MissionColumn) {
            answer.mission = text;
        }
    }

    size_t answeredCount = 0;

private:
    std::vector<QueriedServer>& servers_;
};

// Notes one server's query: where its replies come from, when it went out;
// its player list starts empty when it is kept.
class SweepNotes : public QueryNotes {
public:
    SweepNotes(QueriedServer& server, int index, ReplyRoutes& routes, bool keepPlayers)
        : server_(server), index_(index), routes_(routes), keepPlayers_(keepPlayers) {}

    void lookedUp(quint32 address) override { address_ = address; }
    void sending(quint32 tick) override {
        if (keepPlayers_)
            server_.players().reset();
        server_.sendTick = tick;
        routes_.route(index_, address_,
                      quint16(queryPort(server_.port, server_.sockets))); // the port is valid here
    }

private:
    QueriedServer& server_;
    int index_;
    ReplyRoutes& routes_;
    bool keepPlayers_;
    quint32 address_ = 0;
};

// Runs the event loop for ns nanoseconds, rounded up to whole milliseconds,
// taking replies meanwhile.
void takeRepliesFor(qint64 ns) {
    QEventLoop wait;
    QTimer::singleShot(int((ns + 999999) / 1000000), Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
}

// A reply's hostport, when it is a port number, is where players join.
void noteReplyGamePort(QueriedServer& server, QByteArrayView reply) {
    bool ok = false;
    const uint port = statusValue(reply, "hostport").toUInt(&ok);
    if (ok && port > 0 && port <= 0xFFFF)
        server.replyGamePort = quint16(port);
}

} // namespace

void runQuerySweep(std::vector<QueriedServer>& servers, int timeoutMs, int perSecond,
                   bool keepPlayers) {
    AnswerSink sink(servers);
    QueriedServer scratch;
    ReplyRoutes routes;
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);

    UdpEndpoint endpoint;
    endpoint.setLocalPort(0);
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    size_t datagrams = 0;
    // The servers whose last datagram so far did not end their reply.
    std::vector<bool> unfinished(servers.size());
    size_t unfinishedCount = 0;
    endpoint.OnDataReceived = [&](UdpEndpoint* sender, qint32 size, const QString&, qint32 port) {
        ++datagrams;
        if (size <= 0)
            return;
        const quint32 now = sender->arrivalTick();
        stream.buffer().resize(0);
        sender->CopyDatagram(stream);
        try {
            routes.forEach(sender->senderAddress(), quint16(port), [&](int i) {
                QueriedServer& server = servers[size_t(i)];
                if (!replyPortMatches(server.port, server.sockets, port))
                    return;
                PlayerList players = keepPlayers ? server.players() : scratch.players();
                if (!keepPlayers)
                    players.reset();
                if (!unfinished[size_t(i)]) { // until its final datagram is read
                    unfinished[size_t(i)] = true;
                    ++unfinishedCount;
                }
                if (readServerReply(stream.data(), now - server.sendTick, i, players, sink)) {
                    unfinished[size_t(i)] = false;
                    --unfinishedCount;
                }
                if (keepPlayers)
                    players.settle();
                if (server.gamePortFromReply)
                    noteReplyGamePort(server, stream.data());
            });
        } catch (const LauncherError&) {
            // A reply with a bad maxplayers value keeps what was read before it.
        }
        if (sink.answeredCount == servers.size())
            quiet.start(unfinishedCount > 0 ? quietMs : 0);
    };

    HostLookups lookups;
    for (const QueriedServer& server : servers)
        lookups.start(server.host);
    endpoint.useLookups(&lookups);
    const HostAddressLookup resolve = [&](const QString& host) {
        return lookups.LookupHostAddress(host);
    };

    SendPace pace(perSecond);
    for (size_t i = 0; i < servers.size(); ++i) {
        if (const qint64 wait = pace.waitNs())
            takeRepliesFor(wait);
        pace.take();
        SweepNotes notes(servers[i], int(i), routes, keepPlayers);
        try {
            sendServerQuery(endpoint, servers[i].host, servers[i].port, servers[i].sockets, resolve,
                            notes);
        } catch (const LauncherError&) {
            // A port that is no integer: the server shows as silent.
        }
        if (i % sendsBetweenReplies == sendsBetweenReplies - 1)
            takeWaitingReplies(datagrams);
    }
    if (sink.answeredCount < servers.size() || quiet.isActive()) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Only now: the query port of a reply's later datagrams follows from the
    // port the query went to.
    for (QueriedServer& server : servers)
        if (server.replyGamePort)
            server.port = QString::number(server.replyGamePort);
}
