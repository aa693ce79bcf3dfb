#include "query/ReplyRoutes.h"

#include <algorithm>

size_t ReplyRoutes::home(quint64 key) const {
    // Fibonacci hashing spreads neighbouring ports and addresses apart.
    return size_t((key * 0x9E3779B97F4A7C15ULL) >> 32) & (entries_.size() - 1);
}

size_t ReplyRoutes::find(quint64 key) const {
    if (entries_.empty())
        return notFound;
    for (size_t at = home(key);; at = (at + 1) & (entries_.size() - 1)) {
        if (entries_[at].key == key)
            return at;
        if (entries_[at].key == noKey)
            return notFound;
    }
}

size_t ReplyRoutes::insert(quint64 key) {
    if (2 * (used_ + 1) > entries_.size())
        grow();
    size_t at = home(key);
    while (entries_[at].key != noKey)
        at = (at + 1) & (entries_.size() - 1);
    entries_[at].key = key;
    ++used_;
    return at;
}

void ReplyRoutes::grow() {
    std::vector<Entry> old(std::max<size_t>(16, 2 * entries_.size()));
    old.swap(entries_);
    used_ = 0;
    for (const Entry& entry : old)
        if (entry.key != noKey)
            entries_[insert(entry.key)] = entry;
}

// Linear probing without tombstones: later entries of the probe run move
// back into the hole, so a search still stops at the first free place.
void ReplyRoutes::erase(size_t hole) {
    const size_t mask = entries_.size() - 1;
    for (size_t at = (hole + 1) & mask; entries_[at].key != noKey; at = (at + 1) & mask) {
        const size_t wanted = home(entries_[at].key);
        // The entry may fill the hole when its home is not in (hole, at].
        if (((at - wanted) & mask) >= ((at - hole) & mask)) {
            entries_[hole] = entries_[at];
            hole = at;
        }
    }
    entries_[hole] = Entry{};
    --used_;
}

void ReplyRoutes::link(Entry& entry, int index) {
    const auto i = size_t(index);
    // A sweep routes its servers in order: the new one nearly always goes last.
    int before = entry.last;
    while (before != noServer && before > index)
        before = previous_[size_t(before)];
    const int after = before == noServer ? entry.first : next_[size_t(before)];
    previous_[i] = before;
    next_[i] = after;
    (before == noServer ? entry.first : next_[size_t(before)]) = index;
    (after == noServer ? entry.last : previous_[size_t(after)]) = index;
}

void ReplyRoutes::route(int index, quint32 address, quint16 port) {
    const quint64 wanted = key(address, port);
    const auto i = size_t(index);
    if (i < keyOf_.size() && keyOf_[i] == wanted)
        return;
    forget(index);
    if (keyOf_.size() <= i) {
        keyOf_.resize(i + 1, noKey);
        next_.resize(i + 1, noServer);
        previous_.resize(i + 1, noServer);
    }
    keyOf_[i] = wanted;
    size_t at = find(wanted);
    if (at == notFound)
        at = insert(wanted);
    link(entries_[at], index);
}

void ReplyRoutes::forget(int index) {
    const auto i = size_t(index);
    if (i >= keyOf_.size() || keyOf_[i] == noKey)
        return;
    const size_t at = find(keyOf_[i]);
    Entry& entry = entries_[at];
    const int before = previous_[i], after = next_[i];
    (before == noServer ? entry.first : next_[size_t(before)]) = after;
    (after == noServer ? entry.last : previous_[size_t(after)]) = before;
    if (entry.first == noServer)
        erase(at);
    keyOf_[i] = noKey;
}
