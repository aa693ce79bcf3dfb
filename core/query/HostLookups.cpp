#include "query/HostLookups.h"

#include "query/HostLookup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

HostLookups::HostLookups(QObject* parent) : QObject(parent) {}

void HostLookups::clear() {
    for (const Lookup& lookup : std::as_const(lookups_))
        if (!lookup.answer)
            HostNameService::instance().abort(lookup.id);
    lookups_.clear();
}

void HostLookups::start(const QString& name) {
    if (name.isEmpty() || parseDottedAddress(name) || lookups_.contains(name))
        return;
    Lookup& lookup = lookups_[name];
    lookup.id =
        HostNameService::instance().lookUp(name, this, [this, name](int id, LookupAnswer answer) {
            const auto found = lookups_.find(name);
            if (found != lookups_.end() && found->id == id && !found->answer)
                found->answer = answer;
        });
}

std::optional<LookupAnswer> HostLookups::answer(const QString& name) const {
    if (name.isEmpty())
        return LookupAnswer();
    if (const std::optional<quint32> dotted = parseDottedAddress(name))
        return dotted;
    const auto found = lookups_.constFind(name);
    return found == lookups_.constEnd() ? std::nullopt : found->answer;
}

quint32 HostLookups::LookupHostAddress(const QString& name) {
    start(name);
    std::optional<LookupAnswer> known = answer(name);
    if (!known) {
        // A timer wakes the wait when the lookup never answers.
        QTimer giveUp;
        giveUp.start(TimeoutMs);
        const QDeadlineTimer deadline(TimeoutMs);
        while (!(known = answer(name)) && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!known) {
            Lookup& lookup = lookups_[name];
            HostNameService::instance().abort(lookup.id);
            lookup.answer = known = LookupAnswer();
        }
    }
    return known->value_or(0);
}
