#include "browser/BrowserRefresh.h"

#include "windows/ErrorReport.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

BrowserRefresh::BrowserRefresh(QWidget* window, std::function<void()> sweep)
    : QObject(window), window_(window), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("RefreshTimer"));
    connect(timer_, &QTimer::timeout, this,
            [window, sweep = std::move(sweep)] { guarded(window, sweep); });
    window->installEventFilter(this);
}

void BrowserRefresh::setSeconds(int seconds) {
    seconds_ = seconds;
    restart();
}

bool BrowserRefresh::isRunning() const {
    return timer_->isActive();
}

bool BrowserRefresh::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        restart();
    return false;
}

void BrowserRefresh::restart() {
    if (seconds_ > 0 && window_->isVisible())
        timer_->start(seconds_ * 1000);
    else
        timer_->stop();
}
