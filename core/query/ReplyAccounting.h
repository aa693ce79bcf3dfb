#pragma once

#include "query/PlayerList.h"
#include "query/QueryTable.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// Columns of the browser's server grid.
enum ServerColumn { NameColumn, HostColumn, PingColumn, PlayersColumn, MissionColumn };

// Where reply handling writes the texts of a server's row.
class ServerRowSink {
public:
    virtual ~ServerRowSink() = default;
    virtual void setCell(int server, ServerColumn column, const QString& text) = 0;
};

// True when a reply from port can belong to a server saved with gamePort:
// the decimal text of port minus the server's query-port offset equals
// gamePort exactly, so a saved port with a leading zero or blank never
// matches.
bool replyPortMatches(const QString& gamePort, bool sockets, qint32 port);

// Reads one reply datagram of the server in row: its ping, then the status
// values, as acceptReply describes; true when the datagram ends its reply
// (it holds a "final" token). Throws the conversion error of a bad
// maxplayers value.
bool readServerReply(QByteArrayView datagram, quint32 ping, int row, PlayerList players,
                     ServerRowSink& sink);

// True when a reply from fromIp:port belongs to the server in slot: the
// address text equals its ResolvedIp and replyPortMatches its saved Port.
bool replyMatches(const ServerTable& servers, const QueryTable& queries, int slot,
                  const QString& fromIp, qint32 port);

// Hands one reply datagram to every saved server it belongs to, in slot
// order; only the servers routed at fromIp:port (QueryTable::noteAddress)
// are looked at. For each: the ping (now minus its SendTick, modulo 2^32), then the
// status values: the mission as the gametype value arrives, players and
// scores appended to its list, and after the datagram the players column
// "numplayers/maxplayers-2" when numplayers came ("??" stands in for a
// missing maxplayers). A maxplayers value that is no integer throws the
// conversion error there: what was written so far stays, and later servers
// do not see the datagram.
void acceptReply(QByteArrayView datagram, const QString& fromIp, qint32 port, quint32 now,
                 const ServerTable& servers, QueryTable& queries, ServerRowSink& sink);
