#pragma once

#include "app/Unit1.h"
#include "app/WindowLinks.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "support/SharedState.h"
#include "watcher/Unit6.h"

#include <memory>

// The seven windows created and linked in the launcher's order, destroyed in
// reverse.
struct LauncherWindows {
    LauncherWindows()
        : main(std::make_unique<TForm1>()), mods(std::make_unique<TForm2>()),
          servers(std::make_unique<TForm3>()), browser(std::make_unique<TForm4>()),
          about(std::make_unique<TAboutDialog>()), watcher(std::make_unique<TFormWatcher>()),
          options(std::make_unique<TFormOptions>()) {
        linkWindows(*main, *browser, *watcher);
    }

    ~LauncherWindows() {
        options.reset();
        watcher.reset();
        about.reset();
        browser.reset();
        servers.reset();
        mods.reset();
        main.reset();
    }

    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> mods;
    std::unique_ptr<TForm3> servers;
    std::unique_ptr<TForm4> browser;
    std::unique_ptr<TAboutDialog> about;
    std::unique_ptr<TFormWatcher> watcher;
    std::unique_ptr<TFormOptions> options;
};
