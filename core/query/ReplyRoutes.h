#pragma once

#include <QtGlobal>
#include <vector>

// Finds the servers a reply belongs to by the address and port it came from,
// in constant time however many servers a sweep asks: replies are matched
// as they arrive, so a linear search would make a large sweep quadratic.
// One open-addressed table of the routed addresses and three numbers per
// server: a sweep of many servers routes them without a heap block each.
class ReplyRoutes {
public:
    // Server index expects its replies from address:port from now on, and no
    // longer from where it expected them before.
    void route(int index, quint32 address, quint16 port);
    // Server index expects replies from nowhere.
    void forget(int index);

    // Calls visit(index) for every server that expects replies from
    // address:port, in ascending order of index.
    template <typename Visit> void forEach(quint32 address, quint16 port, Visit visit) const {
        const size_t found = find(key(address, port));
        if (found == notFound)
            return;
        for (int index = entries_[found].first; index != noServer; index = next_[size_t(index)])
            visit(index);
    }

private:
    static constexpr quint64 noKey = ~quint64(0);
    static constexpr int noServer = -1;
    static constexpr size_t notFound = ~size_t(0);
    static quint64 key(quint32 address, quint16 port) { return quint64(address) << 16 | port; }

    // The servers routed from one address:port, a list in ascending order
    // linked through next_ and previous_.
    struct Entry {
        quint64 key = noKey;
        int first = noServer;
        int last = noServer;
    };

    size_t home(quint64 key) const;
    size_t find(quint64 key) const;
    size_t insert(quint64 key);
    void erase(size_t entry);
    void grow();
    void link(Entry& entry, int index);

    std::vector<Entry> entries_; // a power of two, at most half of them used
    size_t used_ = 0;
    std::vector<quint64> keyOf_; // per server; noKey: routed nowhere
    std::vector<int> next_, previous_;
};
