#pragma once

#include <QtGlobal>
#include <unordered_map>
#include <vector>

// Finds the servers a reply belongs to by the address and port it came from,
// in constant time however many servers a sweep asks: replies are matched
// as they arrive, so a linear search would make a large sweep quadratic.
class ReplyRoutes {
public:
    explicit ReplyRoutes(size_t servers) : next_(servers, -1) {}

    // Server index (each at most once) expects its replies from address:port.
    void add(int index, quint32 address, quint16 port);

    // Calls visit(index) for every server that expects replies from
    // address:port, in the order they were added.
    template <typename Visit> void forEach(quint32 address, quint16 port, Visit visit) const {
        const auto found = ends_.find(key(address, port));
        if (found == ends_.end())
            return;
        for (int index = found->second.first; index >= 0; index = next_[size_t(index)])
            visit(index);
    }

private:
    static quint64 key(quint32 address, quint16 port) { return quint64(address) << 16 | port; }

    struct Ends {
        int first;
        int last;
    };
    std::unordered_map<quint64, Ends> ends_;
    std::vector<int> next_; // the next server with the same address and port, or -1
};
