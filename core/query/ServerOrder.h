#pragma once

#include "query/ReplyAccounting.h"

#include <QList>
#include <QStringList>

// The order of the browser's server rows when the user sorts by a column.
//
// texts holds the column's text of every row, row r standing for slot r.
// Name, address and mission compare with compareServerText; ping compares
// as a number and players by the number before "/". A ping or players text
// without a number (a silent server's "??" or blank) comes last in either
// direction. Rows that compare equal keep the table's order. Returns the
// slots in the order they are to be shown.
QList<int> sortedSlots(const QStringList& texts, ServerColumn column, Qt::SortOrder order);

// Compares two names, addresses or missions the way every sorter of the
// browser orders them: as the user's locale orders words, ignoring case, with
// a run of digits read as one number ("Server 2" before "Server 10").
int compareServerText(const QString& a, const QString& b);
