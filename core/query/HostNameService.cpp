#include "query/HostNameService.h"

#include "query/HostLookup.h"

#include <QHostInfo>

namespace {

class PlatformResolver : public HostNameService {
public:
    int lookUp(const QString& name, QObject* context, Done done) override {
        return QHostInfo::lookupHost(name, context,
                                     [done = std::move(done)](const QHostInfo& info) {
                                         done(info.lookupId(), firstIPv4Address(info));
                                     });
    }
    void abort(int id) override { QHostInfo::abortHostLookup(id); }
};

std::unique_ptr<HostNameService>& installed() {
    static std::unique_ptr<HostNameService> service = std::make_unique<PlatformResolver>();
    return service;
}

} // namespace

HostNameService& HostNameService::instance() {
    return *installed();
}

void HostNameService::install(std::unique_ptr<HostNameService> service) {
    installed() = service ? std::move(service) : std::make_unique<PlatformResolver>();
}
