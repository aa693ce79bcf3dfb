#include "app/WindowLinks.h"

#include "app/Unit1.h"
#include "browser/Unit4.h"
#include "watcher/Unit6.h"
#include "windows/GuardedHandler.h"
#include "windows/LaunchLock.h"

#include <QPushButton>

void linkWindows(TForm1& main, TForm4& browser, TFormWatcher& watcher) {
    main.launchLock->guard(browser.BitBtn1);
    main.launchLock->guard(watcher.BitBtn2);
    browser.OnJoin = [&main](const QString& argumentText, qint32 slot) {
        main.LaunchZAM(argumentText, slot);
    };
    browser.OnWatch = [&main, &watcher](const QString& host, const QString& port, bool sockets) {
        main.hide();
        watcher.watch(host, port, sockets);
    };
    // Reported by the browser, so the watcher still closes after an error.
    watcher.OnJoin = [&browser] { return guarded(&browser, [&] { browser.joinSelected(); }); };
    watcher.OnClosed = [&main, &browser] {
        main.show();
        browser.show();
    };
}
