#include "windows/LaunchLock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QStyleHints>
#include <QTimer>

LaunchLock::LaunchLock(QTimer* timer, QObject* parent) : QObject(parent), timer_(timer) {}

void LaunchLock::guard(QAbstractButton* button) {
    buttons_ << button;
}

void LaunchLock::lock() {
    if (locked_)
        return;
    locked_ = true;
    timer_->stop();
    // A disabled button would pass its window's focus on to the next control,
    // where a held key would press it: the window itself holds it meanwhile.
    refocus_.clear();
    for (QAbstractButton* button : std::as_const(buttons_)) {
        if (button && button->window()->focusWidget() == button) {
            refocus_ << button;
            button->window()->setFocus(Qt::OtherFocusReason);
        }
    }
    for (QAbstractButton* button : std::as_const(buttons_))
        if (button)
            button->setEnabled(false);
    qApp->installEventFilter(this);
}

void LaunchLock::started() {
    timer_->start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void LaunchLock::unlock() {
    timer_->stop();
    if (!locked_)
        return;
    locked_ = false;
    qApp->removeEventFilter(this);
    for (QAbstractButton* button : std::as_const(buttons_))
        if (button)
            button->setEnabled(true);
    for (QAbstractButton* button : std::as_const(refocus_))
        if (button && button->window()->focusWidget() == button->window())
            button->setFocus(Qt::OtherFocusReason);
}

// A repeating key is still held: the lock lasts until it is let go. An
// accepted shortcut override keeps a repeating mnemonic from pressing a
// button; the key press that follows it is dropped here too.
bool LaunchLock::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool pressesButton =
        key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
    if (!key->isAutoRepeat() && !pressesButton)
        return false;
    if (key->isAutoRepeat() && timer_->isActive())
        started();
    event->accept();
    return true;
}
