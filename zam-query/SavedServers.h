#pragma once

#include "zam-query/QueriedServer.h"

#include <QStringList>
#include <vector>

// Reads the servers saved by the launcher into servers, read-only: the store
// file is never written and no key is created, unlike the launcher's own
// load, which sets up a missing store. Entries that cannot be read are left
// out and told in warnings.
// Returns false when the store has no servers key (no store file at all
// included).
bool readSavedServers(std::vector<QueriedServer>& servers, QStringList& warnings);
