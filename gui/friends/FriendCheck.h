#pragma once

#include <QObject>

class FriendSweep;
class LauncherState;
class QTimer;

// The background check: while the friends list is not empty, looks for the
// friends on every saved server every friendcheck seconds (FriendSettings),
// whether or not a window is open, and hands what it saw to FriendAlerts.
// It never runs while the browser sweeps: a browser sweep that starts
// cancels the look under way, and a check that falls due during one waits
// for the next interval.
class FriendCheck : public QObject {
    Q_OBJECT
public:
    explicit FriendCheck(QObject* parent = nullptr);

    // Arms the timer from the present settings: stopped when the list is
    // empty or the check is off.
    void rearm();
    // Looks now, unless the browser sweeps or a look runs.
    void checkNow();

    bool armed() const;
    int intervalMs() const;

private:
    LauncherState& state_;
    QTimer* timer_;
    FriendSweep* sweep_;
};
