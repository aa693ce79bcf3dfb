#pragma once

#include "zam-query/QueriedServer.h"

#include <vector>

// Sends the status query to every server from one endpoint on a port the
// platform chooses, at most perSecond datagrams a second, taking replies as
// they come; then waits until timeoutMs after the last send, or until every
// server answered and no datagram came for a short while (a reply may come
// in several datagrams). The host names are looked up all at once at the
// start. Each server is asked with the browser's query step, and its replies
// are matched (by address and port, as the browser does) and read by the
// browser's reply handling into its answer and, when keepPlayers, its
// players (otherwise they are read into one scratch list that keeps its room,
// so a sweep whose report leaves them out allocates nothing per player). A
// server whose host or port cannot be used is not sent to and stays silent.
void runQuerySweep(std::vector<QueriedServer>& servers, int timeoutMs, int perSecond,
                   bool keepPlayers);
