#include "app/ApplicationWindows.h"

#include "app/Unit1.h"
#include "app/WindowLinks.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "friends/FriendCheck.h"
#include "watcher/Unit6.h"

#include <QApplication>
#include <QTimer>

ApplicationWindows::ApplicationWindows() : main(std::make_unique<TForm1>()) {}

ApplicationWindows::~ApplicationWindows() = default;

void ApplicationWindows::showMain() {
    if (!othersCreated())
        qApp->installEventFilter(this);
    main->show();
}

// Creation order matters: the browser copies the player names that the main
// window's load left in the state.
void ApplicationWindows::createOthers() {
    if (othersCreated())
        return;
    qApp->removeEventFilter(this);
    mods = std::make_unique<TForm2>();
    servers = std::make_unique<TForm3>();
    browser = std::make_unique<TForm4>();
    about = std::make_unique<TAboutDialog>();
    watcher = std::make_unique<TFormWatcher>();
    options = std::make_unique<TFormOptions>();
    linkWindows(*main, *browser, *watcher);
    new FriendCheck(this);
}

bool ApplicationWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->isInputEvent()) {
        createOthers();
    } else if (watched == main.get() && event->type() == QEvent::Paint && !scheduled_) {
        // Queued behind the paint, so the painted window reaches the screen first.
        scheduled_ = true;
        QTimer::singleShot(0, this, &ApplicationWindows::createOthers);
    }
    return false;
}
