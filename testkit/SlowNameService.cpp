#include "testkit/SlowNameService.h"

#include <QTimer>

SlowNameService::SlowNameService(int delayMs) : delayMs_(delayMs) {}

SlowNameService* SlowNameService::install(int delayMs) {
    auto service = std::make_unique<SlowNameService>(delayMs);
    SlowNameService* installed = service.get();
    HostNameService::install(std::move(service));
    return installed;
}

int SlowNameService::lookUp(const QString& name, QObject* context, Done done) {
    const int id = nextId_++;
    asked << name;
    mostRunning = std::max(mostRunning, ++running);
    const LookupAnswer answer = answers_.value(name, LookupAnswer(0x7F000001));
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, context, [this, id, answer, done] {
        const auto found = timers_.find(id);
        found->second.release()->deleteLater(); // it is emitting right now
        timers_.erase(found);
        --running;
        done(id, answer);
    });
    timer->start(delayMs_);
    timers_[id] = std::move(timer);
    return id;
}

void SlowNameService::abort(int id) {
    if (timers_.erase(id) > 0)
        --running;
}
