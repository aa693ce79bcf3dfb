#pragma once

#include "query/ServerFilter.h"

#include <QList>
#include <QSortFilterProxyModel>

// The server grid's rows as every reader gets them (the screen, the keyboard
// and assistive technologies): without the rows the filter hides, in the
// order chosen. Source row r is slot r; the proxy reads only the source's
// ping and players texts, whatever source the rows come from. Rows change
// place or visibility only through arrange() and setFilter(), never while
// their texts change, so they do not move while replies arrive.
class ServerProxy : public QSortFilterProxyModel {
public:
    explicit ServerProxy(QObject* parent = nullptr);

    // Shows the rows in this order of source rows (empty: the source's
    // order) and filters them again from their present texts.
    void arrange(const QList<int>& slots);
    void setFilter(const ServerFilter& filter);
    const ServerFilter& filter() const { return filter_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    int rankOf(int slot) const;

    QList<int> rank_; // the place of each slot in the chosen order
    ServerFilter filter_;
};
