#include "zam-query/ReplyRoutes.h"

void ReplyRoutes::add(int index, quint32 address, quint16 port) {
    const auto [found, added] = ends_.try_emplace(key(address, port), Ends{index, index});
    if (!added) {
        next_[size_t(found->second.last)] = index;
        found->second.last = index;
    }
}
