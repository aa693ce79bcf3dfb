#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Runs a window's activation procedure when the window is activated after
// being shown, and whenever the user comes back to it from another window of
// the application. Coming back from a box or dialog that the window itself
// opened (its children), or from another application, is no activation:
// after answering "&No" to "Are you sure?" the window keeps its fields.
class FormActivation : public QObject {
public:
    FormActivation(QWidget* window, std::function<void()> onActivate);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool comesBackFromOwnWindow() const;

    QWidget* window_;
    std::function<void()> onActivate_;
    bool shownSinceActivation_ = false;
};
