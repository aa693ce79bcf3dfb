#pragma once

#include <QObject>
#include <functional>

class QTimer;
class QWidget;

// "Refresh every": asks for a sweep every so many seconds while the browser
// window is shown. The sweep function decides whether one can start (sweeps
// never nest); a refresh due while the window is hidden waits for no one.
class BrowserRefresh : public QObject {
public:
    BrowserRefresh(QWidget* window, std::function<void()> sweep);

    // 0 turns it off.
    void setSeconds(int seconds);
    bool isRunning() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restart();

    QWidget* window_;
    QTimer* timer_;
    int seconds_ = 0;
};
