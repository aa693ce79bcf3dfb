#include "zam-query/QuerySweep.h"

#include "query/HostLookup.h"
#include "query/ReplyAccounting.h"
#include "query/ServerQuery.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

// After every server answered, the sweep still waits this long for more
// datagrams of a reply that came in parts.
constexpr int quietMs = 5;

class AnswerSink : public ServerRowSink {
public:
    explicit AnswerSink(std::vector<ServerAnswer>& answers) : answers_(answers) {}

    void setCell(int server, ServerColumn column, const QString& text) override {
        ServerAnswer& answer = answers_[size_t(server)];
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

    int answeredCount = 0;

private:
    std::vector<ServerAnswer>& answers_;
};

} // namespace

std::vector<ServerAnswer> runQuerySweep(const ServerTable& servers, QueryTable& queries,
                                        int timeoutMs) {
    const int count = servers.Last + 1;
    std::vector<ServerAnswer> answers(static_cast<size_t>(count));
    AnswerSink sink(answers);
    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &loop, &QEventLoop::quit);

    UdpEndpoint endpoint;
    endpoint.setLocalPort(0);
    endpoint.OnDataReceived = [&](UdpEndpoint* sender, qint32 size, const QString& fromIp,
                                  qint32 port) {
        if (size <= 0)
            return;
        QBuffer stream;
        stream.open(QIODevice::ReadWrite);
        sender->CopyDatagram(stream);
        try {
            acceptReply(stream.readAll(), fromIp, port, sender->arrivalTick(), servers, queries,
                        sink);
        } catch (const LauncherError&) {
            // A reply with a bad maxplayers value keeps what was read before it.
        }
        if (sink.answeredCount == count)
            quiet.start(quietMs);
    };

    for (int slot = 0; slot < count; ++slot) {
        try {
            sendServerQuery(endpoint, servers, queries, slot, LookupHostAddress);
        } catch (const LauncherError&) {
            // A port that is no integer: the server shows as silent.
        }
        // Replies that already came are read now, while their pings are true.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (sink.answeredCount < count || quiet.isActive()) {
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return answers;
}
