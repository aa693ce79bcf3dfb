#pragma once

#include <QEvent>
#include <QTest>
#include <QWidget>

// Counts the activations the window system delivers to a window.
class ActivationCounter : public QObject {
public:
    explicit ActivationCounter(QWidget* window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::WindowActivate;
        return false;
    }
};

// Shows a window as the main window does and waits until the window system
// has activated it.
[[nodiscard]] inline bool bringUp(QWidget* window) {
    ActivationCounter activations(window);
    window->show();
    window->activateWindow();
    return QTest::qWaitFor([&] { return activations.count > 0; });
}
