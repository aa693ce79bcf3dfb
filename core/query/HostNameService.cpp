#include "query/HostNameService.h"

#include "query/HostLookup.h"

#include <QHash>
#include <QHostInfo>
#include <QObject>
#include <QPointer>

namespace {

// Takes one lookup's answer. Connected by name: Qt keeps no slot object for
// a lookup connected so, which an aborted lookup would otherwise leak.
class AnswerReceiver : public QObject {
    Q_OBJECT
public:
    AnswerReceiver(QObject* context, HostNameService::Done done)
        : QObject(context), done_(std::move(done)) {}

public Q_SLOTS:
    void finished(const QHostInfo& info) {
        deleteLater();
        done_(info.lookupId(), firstIPv4Address(info));
    }

private:
    HostNameService::Done done_;
};

class PlatformResolver : public HostNameService {
public:
    int lookUp(const QString& name, QObject* context, Done done) override {
        receivers_.removeIf([](const auto& entry) { return entry.value().isNull(); });
        auto* receiver = new AnswerReceiver(context, std::move(done));
        const int id = QHostInfo::lookupHost(name, receiver, SLOT(finished(QHostInfo)));
        receivers_.insert(id, receiver);
        return id;
    }
    void abort(int id) override {
        QHostInfo::abortHostLookup(id);
        if (const QPointer<AnswerReceiver> receiver = receivers_.take(id))
            delete receiver;
    }

private:
    // The receivers of lookups still running, to drop with an aborted one.
    QHash<int, QPointer<AnswerReceiver>> receivers_;
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

#include "HostNameService.moc"
