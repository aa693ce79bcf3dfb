#pragma once

#include "query/ReplyAccounting.h"

#include <QList>
#include <QStringList>

// The order of the browser's server rows when the user sorts by a column.
//
// texts holds the column's text of every row, row r standing for slot r.
// Name, address and mission compare as text ignoring case; ping compares
// as a number and players by the number before "/". A ping or players text
// without a number (a silent server's "??" or blank) comes last in either
// direction. Rows that compare equal keep the table's order. Returns the
// slots in the order they are to be shown.
QList<int> sortedSlots(const QStringList& texts, ServerColumn column, Qt::SortOrder order);
