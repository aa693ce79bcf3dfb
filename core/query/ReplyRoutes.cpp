#include "query/ReplyRoutes.h"

#include <algorithm>

void ReplyRoutes::route(int index, quint32 address, quint16 port) {
    const quint64 wanted = key(address, port);
    if (size_t(index) < keyOf_.size() && keyOf_[size_t(index)] == wanted)
        return;
    forget(index);
    if (keyOf_.size() <= size_t(index))
        keyOf_.resize(size_t(index) + 1, none);
    keyOf_[size_t(index)] = wanted;
    std::vector<int>& indexes = indexes_[wanted];
    // A sweep routes its servers in order: the new one nearly always goes last.
    indexes.insert(std::upper_bound(indexes.begin(), indexes.end(), index), index);
}

void ReplyRoutes::forget(int index) {
    if (size_t(index) >= keyOf_.size() || keyOf_[size_t(index)] == none)
        return;
    const auto found = indexes_.find(keyOf_[size_t(index)]);
    std::erase(found->second, index);
    if (found->second.empty())
        indexes_.erase(found);
    keyOf_[size_t(index)] = none;
}
