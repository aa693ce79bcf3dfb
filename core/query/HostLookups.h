#pragma once

#include "query/HostNameService.h"

#include <QHash>
#include <QObject>
#include <QString>

// The host lookups of one sweep. The sweep starts the lookups of all its
// names at once, then asks for each answer in its own order: a name whose
// answer came is answered at once, any other waits only for its own lookup.
// Each name is looked up once while this object lives, and every ask of it
// (the sweep's own and its endpoint's) gets the same address.
class HostLookups : public QObject {
public:
    static constexpr int TimeoutMs = 10000;

    explicit HostLookups(QObject* parent = nullptr);
    ~HostLookups() override { clear(); }

    // Aborts the lookups still running and forgets every answer: the next
    // sweep resolves its names afresh.
    void clear();

    // Starts looking up name, unless it is empty, dotted text or started already.
    void start(const QString& name);

    // The answer for name if there is one yet: dotted text is its own
    // address, an empty name fails.
    std::optional<LookupAnswer> answer(const QString& name) const;

    // The address of name, 0 (0.0.0.0) when it cannot be resolved. Waits for
    // the answer while running the event loop (a name not started yet is
    // started first); a lookup without an answer after TimeoutMs has failed.
    quint32 LookupHostAddress(const QString& name);

private:
    struct Lookup {
        int id = -1;
        std::optional<LookupAnswer> answer;
    };
    QHash<QString, Lookup> lookups_;
};
