#pragma once

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;
class QUdpSocket;

// A game server that answered the status query on the local network.
struct LanServer {
    QString name;    // its hostname value
    QString address; // dotted address it answered from
    int gamePort = 0;
    bool sockets = true;
    int queryPort = 0; // the port it answered on
    qint64 pingMs = 0; // from the broadcast to its first datagram
    // As the browser shows them: "numplayers/maxplayers-2" once numplayers
    // came, and the gametype value.
    QString players;
    QString mission;
    QStringList playerNames;
    QStringList playerScores;
};

// Reads one reply datagram of a server that answered on queryPort into
// server; a reply may come in several datagrams, each read on its own.
//
// The game port is the reply's hostport value when the query port minus it
// is 1 (Sockets) or 2 (DirectPlay); otherwise, and without hostport, it is
// the query port minus one with Sockets, which the browser queries at the
// port that answered. A maxplayers value that is no integer ends the
// datagram there, keeping what came before it.
void readLanReply(QByteArrayView datagram, int queryPort, LanServer& server);

// The directed broadcast address of every IPv4 interface that is up and can
// broadcast (192.168.1.255 for 192.168.1.7/24).
QList<QHostAddress> interfaceBroadcasts();

// Finds game servers on the local network: sends the status query to every
// target address on the query ports of the usual game ports (2302 to 2402,
// both implementations) and collects the answers for a while.
class LanDiscovery : public QObject {
    Q_OBJECT
public:
    static constexpr int FirstGamePort = 2302;
    static constexpr int LastGamePort = 2402;
    static constexpr int CollectMs = 2000;

    explicit LanDiscovery(QObject* parent = nullptr);
    ~LanDiscovery() override;

    // Where the query goes; the interfaces' broadcast addresses when empty.
    void setTargets(const QList<QHostAddress>& targets) { targets_ = targets; }
    // Starts a search that ends with finished() after collectMs; a search
    // still running goes on instead.
    void start(int collectMs = CollectMs);
    bool isRunning() const;
    // What answered, ordered by address and game port.
    QList<LanServer> servers() const;

Q_SIGNALS:
    void finished();

private:
    void takeDatagrams();

    QList<QHostAddress> targets_;
    QUdpSocket* socket_;
    QTimer* collect_;
    QElapsedTimer sinceSend_;
    QList<LanServer> found_;
};

// Runs one search to its end and returns what answered.
QList<LanServer> discoverLanServers(int collectMs = LanDiscovery::CollectMs);
