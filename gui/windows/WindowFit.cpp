#include "windows/WindowFit.h"

#include <QEvent>
#include <QLayout>
#include <QWidget>

WindowFit::WindowFit(QWidget* window, QSize minimum)
    : QObject(window), window_(window), minimum_(minimum) {
    window->installEventFilter(this);
}

void WindowFit::setMinimum(QSize minimum) {
    minimum_ = minimum;
    fit();
}

void WindowFit::fit() {
    if (QLayout* layout = window_->layout())
        window_->setFixedSize(layout->totalSizeHint().expandedTo(minimum_));
}

bool WindowFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ &&
        (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
        fit();
    return false;
}
