#pragma once

#include "query/HostNameService.h"

#include <QHash>
#include <QStringList>
#include <map>
#include <memory>

class QTimer;

// Stands in for a resolver that takes its time: every name answers after
// delayMs with the address given for it (127.0.0.1 unless set), or fails when
// it was set to fail. Lookups run at the same time, each with its own timer.
// It notes which names were asked and how many lookups ran at once.
class SlowNameService : public HostNameService {
public:
    explicit SlowNameService(int delayMs);

    // Puts a service in place of the resolver and returns it; HostNameService
    // owns it until HostNameService::install(nullptr) restores the platform's.
    static SlowNameService* install(int delayMs);

    void setAddress(const QString& name, LookupAnswer answer) { answers_[name] = answer; }
    void setDelay(int delayMs) { delayMs_ = delayMs; }

    int lookUp(const QString& name, QObject* context, Done done) override;
    void abort(int id) override;

    QStringList asked; // names, in the order their lookups started
    int running = 0;
    int mostRunning = 0;

private:
    int delayMs_;
    int nextId_ = 1;
    QHash<QString, LookupAnswer> answers_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
};
