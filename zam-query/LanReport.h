#pragma once

#include "zam-query/QueryRequest.h"

// zam-query --lan: finds the servers on the local network and prints them
// like queried servers (a table, or JSON with request.json), named by their
// hostname, at their address and game port. Returns the exit status: 0 when
// a server answered, 1 when none did.
int printLanServers(const QueryRequest& request);
