#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

class QObject;

// The answer of one host-name lookup: the first IPv4 address (host byte
// order), or nothing when the name could not be resolved.
using LookupAnswer = std::optional<quint32>;

// Asynchronous host-name resolution, the platform's resolver in production.
// Tests and benchmarks install a stand-in that answers names of their own
// after a delay of their choosing, without asking the network.
class HostNameService {
public:
    using Done = std::function<void(int id, LookupAnswer answer)>;

    virtual ~HostNameService() = default;

    // Starts looking up name; done (with the id this returns) runs later from context's event loop,
    // never inside this call, and not at all once the lookup was aborted or context is gone.
    // Returns the lookup's id.
    virtual int lookUp(const QString& name, QObject* context, Done done) = 0;
    virtual void abort(int id) = 0;

    static HostNameService& instance();
    // Replaces the resolver; nullptr restores the platform's.
    static void install(std::unique_ptr<HostNameService> service);
};
