#pragma once

#include "settings/Tables.h"

#include <QStringList>
#include <memory>
#include <stdexcept>

// A command line zam-query cannot run: the text says what is wrong.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What zam-query was asked to do.
struct QueryRequest {
    // The servers named on the command line, or empty (Last -1) when the
    // saved servers are to be queried.
    std::unique_ptr<ServerTable> servers = std::make_unique<ServerTable>();
    bool json = false;
    // Find the servers on the local network instead.
    bool lan = false;
    int timeoutMs = 2000;
};

// The usage text printed with every UsageError.
extern const char queryUsage[];

// Reads the arguments after the program name. A server is "host:port" with
// the game port; --sockets (the default) or --dplay sets the query port
// offset of all servers given. Throws UsageError for an unknown option, a
// missing or bad value, a bad server and more servers than a table holds.
QueryRequest parseQueryArguments(const QStringList& arguments);
