#include "friends/FriendCheck.h"

#include "friends/FriendAlerts.h"
#include "friends/FriendSweep.h"
#include "state/LauncherState.h"

#include <QTimer>

FriendCheck::FriendCheck(QObject* parent)
    : QObject(parent), state_(LauncherState::instance()), timer_(new QTimer(this)),
      sweep_(new FriendSweep(this)) {
    FriendAlerts& alerts = FriendAlerts::instance();
    sweep_->OnDone = [&alerts](const QList<ServerSighting>& servers) { alerts.look(servers); };
    connect(timer_, &QTimer::timeout, this, &FriendCheck::checkNow);
    connect(&alerts, &FriendAlerts::browserSweepStarted, this, [this] { sweep_->cancel(); });
    connect(&alerts, &FriendAlerts::friendsChanged, this, &FriendCheck::rearm);
    connect(&state_, &LauncherState::reloaded, this, &FriendCheck::rearm);
    rearm();
}

void FriendCheck::rearm() {
    const qint32 seconds = state_.friends.checkIntervalSeconds();
    if (seconds == 0 || state_.friends.table.Last < 0) {
        timer_->stop();
        sweep_->cancel();
        return;
    }
    if (!timer_->isActive() || timer_->interval() != seconds * 1000)
        timer_->start(seconds * 1000);
}

void FriendCheck::checkNow() {
    if (FriendAlerts::instance().browserSweeping() || state_.friends.table.Last < 0)
        return;
    sweep_->start(state_.servers, state_.friends.table);
}

bool FriendCheck::armed() const {
    return timer_->isActive();
}

int FriendCheck::intervalMs() const {
    return timer_->interval();
}
