#include "query/ReplyAccounting.h"

#include "query/HostLookup.h"
#include "query/StatusQuery.h"
#include "query/StatusTokenizer.h"
#include "settings/IntegerConversion.h"

#include <charconv>

namespace {

const QString unknown = QStringLiteral("??");

// The fewest bytes a player takes in a datagram (\player_0\x\): a reply
// cannot make room reserved for more players than its datagram could hold.
constexpr qsizetype bytesPerPlayer = 11;

// The values of one datagram for one server.
class ServerReader : public StatusReader {
public:
    ServerReader(int server, PlayerList players, ServerRowSink& sink, qsizetype datagramSize)
        : server_(server), players_(players), sink_(sink), datagramSize_(datagramSize),
          playersHeld_(datagramSize / bytesPerPlayer) {}

    void onPlayer(QLatin1StringView name) override { players_.add(name); }
    void onScore(QLatin1StringView score) override { players_.setLastScore(score); }
    void onGametype(QLatin1StringView mission) override {
        sink_.setCell(server_, MissionColumn, mission.toString());
    }
    void onNumplayers(QLatin1StringView players) override {
        numPlayers_ = players.toString();
        qint32 announced = 0;
        if (tryParseInteger(numPlayers_, announced) && announced > 0)
            players_.makeRoom(qMin(qsizetype(announced), playersHeld_), datagramSize_);
    }
    void onMaxplayers(qint32 maxPlayers) override {
        maxPlayers_ = QString::number(reducedMaxPlayers(maxPlayers));
    }

    void onFinal() override { final_ = true; }

    bool final() const { return final_; }
    void showPlayers() {
        if (numPlayers_ != unknown)
            sink_.setCell(server_, PlayersColumn, numPlayers_ + u'/' + maxPlayers_);
    }

private:
    int server_;
    PlayerList players_;
    ServerRowSink& sink_;
    qsizetype datagramSize_; // no reply's texts take more
    qsizetype playersHeld_;
    QString numPlayers_ = unknown;
    QString maxPlayers_ = unknown;
    bool final_ = false;
};

} // namespace

// The saved port must read as the digits of the reply's port less the offset;
// the digits are written on the stack, as this runs for every reply.
bool replyPortMatches(const QString& gamePort, bool sockets, qint32 port) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof digits, port - QueryPortOffset(sockets));
    return gamePort == QLatin1StringView(digits, end.ptr);
}

bool readServerReply(QByteArrayView datagram, quint32 ping, int row, PlayerList players,
                     ServerRowSink& sink) {
    sink.setCell(row, PingColumn, QString::number(ping));
    ServerReader reader(row, players, sink, datagram.size());
    StatusTokenizer::tokenize(datagram, reader);
    reader.showPlayers();
    return reader.final();
}

bool replyMatches(const ServerTable& servers, const QueryTable& queries, int slot,
                  const QString& fromIp, qint32 port) {
    return replyPortMatches(servers.Port[slot], servers.Sockets[slot], port) &&
           queries.ResolvedIp[slot] == fromIp;
}

void acceptReply(QByteArrayView datagram, const QString& fromIp, qint32 port, quint32 now,
                 const ServerTable& servers, QueryTable& queries, ServerRowSink& sink) {
    const std::optional<quint32> address = parseDottedAddress(fromIp);
    if (!address || port < 0 || port > 0xFFFF)
        return;
    queries.routes.forEach(*address, quint16(port), [&](int slot) {
        if (slot <= servers.Last && replyMatches(servers, queries, slot, fromIp, port)) {
            readServerReply(datagram, now - queries.SendTick[slot], slot, queries.players(slot),
                            sink);
            queries.players(slot).settle();
        }
    });
}
