#pragma once

#include "zam-query/QueriedServer.h"

#include <QStringList>
#include <optional>
#include <stdexcept>
#include <vector>

// A command line zam-query cannot run: the text says what is wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What zam-query was asked to do.
struct QueryRequest {
    // The replies to 500 queries a second come to about 2 Mbit/s (status
    // replies are mostly under half a kilobyte) and at most 8 Mbit/s (2 KB
    // each), which a home downlink carries without queueing them behind each
    // other, which would add to the pings; the queries themselves are
    // 0.2 Mbit/s up.
    static constexpr int DefaultRate = 500;

    // The servers named on the command line or in files, or none when the
    // saved servers are to be queried.
    std::vector<QueriedServer> servers;
    bool json = false;
    // Find the servers on the local network instead.
    bool lan = false;
    // Report only the servers with a friend on them, naming the friends.
    bool friends = false;
    int timeoutMs = 2000;
    int rate = DefaultRate; // datagrams per second
    // The servers of a master's list instead (--master, --game, --key); what
    // is not given comes from the store.
    std::optional<QString> masters;
    std::optional<QString> masterGame;
    std::optional<QString> masterKey;
    int masterTimeoutMs = 10000;
    bool fromMaster() const { return masters || masterGame || masterKey; }
};

// The usage text printed with every UsageError.
extern const char queryUsage[];

// Reads the arguments after the program name. A server is "host:port" with
// the game port, given as an argument or in a file of them (--file; "-" is
// the standard input) separated by blanks or lines; --sockets (the default)
// or --dplay sets the query port offset of all servers given. Throws
// UsageError for an unknown option, a missing or bad value, a file that
// cannot be read and a bad server.
QueryRequest parseQueryArguments(const QStringList& arguments);
