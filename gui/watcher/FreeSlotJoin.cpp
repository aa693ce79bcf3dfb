#include "watcher/FreeSlotJoin.h"

#include "query/ServerFilter.h"

#include <QTimer>

FreeSlotJoin::FreeSlotJoin(QTimer* poll, QWidget* watcher)
    : QCheckBox(tr("&Join when a slot is free"), watcher), poll_(poll),
      usualIntervalMs_(poll->interval()) {
    setObjectName(QStringLiteral("JoinWhenFree"));
    setEnabled(false);
    // A running poll timer starts over with the new interval.
    connect(this, &QCheckBox::toggled, this,
            [this](bool on) { poll_->setInterval(on ? FastPollMs : usualIntervalMs_); });
}

bool FreeSlotJoin::replied(const QString& players, const QString& maximum) {
    const std::optional<bool> free = hasFreeSlot(players, maximum);
    if (!free)
        return false;
    const bool join = *free && isChecked();
    if (*free)
        setChecked(false);
    setEnabled(!*free);
    return join;
}

void FreeSlotJoin::reset() {
    setChecked(false);
    setEnabled(false);
}
