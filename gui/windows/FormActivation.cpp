#include "windows/FormActivation.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// Follows which window of the application was active before the current
// one, with the windows that own it; a window activated again after the
// user was in another application follows itself. The owners are noted at
// activation: a box or file dialog may be destroyed before the window
// system activates its owner again. As an application event filter it sees
// every WindowActivate before the activated window's own filters do.
class ActiveWindowHistory : public QObject {
public:
    using Chain = QList<QPointer<QWidget>>; // a window, its parent, ...

    static ActiveWindowHistory& instance() {
        static auto* history = [] {
            auto* created = new ActiveWindowHistory(qApp);
            qApp->installEventFilter(created);
            return created;
        }();
        return *history;
    }

    const Chain& previous() const { return previous_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow()) {
                previous_ = current_;
                current_.clear();
                for (QWidget* w = window; w; w = w->parentWidget())
                    current_ << w;
            }
        }
        return false;
    }

private:
    using QObject::QObject;

    Chain previous_;
    Chain current_;
};

} // namespace

FormActivation::FormActivation(QWidget* window, std::function<void()> onActivate)
    : QObject(window), window_(window), onActivate_(std::move(onActivate)) {
    ActiveWindowHistory::instance();
    window->installEventFilter(this);
}

bool FormActivation::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_)
        return false;
    if (event->type() == QEvent::Show) {
        shownSinceActivation_ = true;
    } else if (event->type() == QEvent::WindowActivate) {
        const bool activation = shownSinceActivation_ || !comesBackFromOwnWindow();
        shownSinceActivation_ = false;
        if (activation)
            onActivate_();
    }
    return false;
}

// True when the window active before this one was the window itself (the
// user was in another application) or one of its children (its own box).
bool FormActivation::comesBackFromOwnWindow() const {
    return ActiveWindowHistory::instance().previous().contains(window_);
}
