#pragma once

#include "query/QueryTable.h"
#include "settings/Tables.h"

#include <QString>

// True when the server in slot is one the user looks for with needle: its
// name, the mission it reports or the name of one of its players of this
// sweep contains needle, ignoring case. An empty needle matches nothing.
bool serverMatches(const QString& needle, const QString& name, const QString& mission,
                   const QueryTable& queries, int slot);
