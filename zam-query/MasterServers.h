#pragma once

#include "zam-query/QueryRequest.h"

#include <QStringList>

// Fills request.servers with the servers of the first master that gives a
// list, at their game ports (the listed query port - 1, Sockets). The
// masters, game name and key not given on the command line come from the
// launcher's settings, read-only. Returns false, with the reasons in errors,
// when no master gave a list.
bool readMasterServers(QueryRequest& request, QStringList& errors);
