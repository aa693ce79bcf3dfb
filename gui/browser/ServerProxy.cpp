#include "browser/ServerProxy.h"

#include "query/ReplyAccounting.h"

ServerProxy::ServerProxy(QObject* parent) : QSortFilterProxyModel(parent) {
    setDynamicSortFilter(false);
    // Always "sorted" by the rank: the source's order until arrange() says otherwise.
    sort(0);
}

void ServerProxy::arrange(const QList<int>& slots) {
    rank_ = QList<int>(slots.size(), int(slots.size()));
    for (int place = 0; place < slots.size(); ++place)
        if (slots[place] >= 0 && slots[place] < rank_.size())
            rank_[slots[place]] = place;
    invalidate();
}

void ServerProxy::setFilter(const ServerFilter& filter) {
    if (filter == filter_)
        return;
    filter_ = filter;
    invalidate();
}

bool ServerProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!filter_.hidesAny())
        return true;
    const QAbstractItemModel* source = sourceModel();
    const auto text = [&](ServerColumn column) {
        return source->index(sourceRow, column, sourceParent).data().toString();
    };
    return serverShown(filter_, text(PingColumn), text(PlayersColumn));
}

bool ServerProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    return rankOf(left.row()) < rankOf(right.row());
}

// Slots the chosen order does not know (added since) follow it in their own order.
int ServerProxy::rankOf(int slot) const {
    return slot < rank_.size() ? rank_[slot] : slot + int(rank_.size());
}
