#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractButton;
class QTimer;
class QWidget;

// Keeps the launch buttons of every window locked while a game starts, so a
// double click or a held key starts one game. The buttons are disabled from
// the press until the start was made and the desktop's double-click interval
// has passed since; while locked, a repeating key keeps the lock and keys
// that press buttons are dropped.
class LaunchLock : public QObject {
public:
    // timer ends the lock: it is (re)started here, and its owner calls
    // unlock() on its tick.
    LaunchLock(QTimer* timer, QObject* parent);

    void guard(QAbstractButton* button);
    bool locked() const { return locked_; }
    void lock();
    // The start was made (or failed): the lock ends one interval from now.
    void started();
    void unlock();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer* timer_;
    QList<QPointer<QAbstractButton>> buttons_;
    // Buttons that had their window's focus; they get it back unless the
    // user put it elsewhere meanwhile.
    QList<QPointer<QAbstractButton>> refocus_;
    bool locked_ = false;
};
