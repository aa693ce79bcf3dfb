#pragma once

#include <QtGlobal>
#include <unordered_map>
#include <vector>

// Finds the servers a reply belongs to by the address and port it came from,
// in constant time however many servers a sweep asks: replies are matched
// as they arrive, so a linear search would make a large sweep quadratic.
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
        const auto found = indexes_.find(key(address, port));
        if (found == indexes_.end())
            return;
        for (const int index : found->second)
            visit(index);
    }

private:
    static constexpr quint64 none = ~quint64(0);
    static quint64 key(quint32 address, quint16 port) { return quint64(address) << 16 | port; }

    std::unordered_map<quint64, std::vector<int>> indexes_; // ascending
    std::vector<quint64> keyOf_;                            // none: routed nowhere
};
