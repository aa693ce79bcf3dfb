#include "app/ApplicationWindows.h"
#include "launch/PlatformChoice.h"
#include "settings/ParsedStore.h"
#include "settings/StoreLocation.h"
#include "windows/FontPrefetch.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    const QByteArray platform = choosePlatform(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    // The store is parsed and the fonts are read on other cores while the
    // main window loads the store and is built.
    prefetchParsedStore(StoreLocation::path());
    const std::future<void> fonts = prefetchFontDatabase();
    QApplication::setApplicationName(QStringLiteral("ZAM Launcher"));
    QApplication::setDesktopFileName(QStringLiteral("net.zamlauncher.ZamLauncher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/icon.png")));
    // Only closing the main window ends the launcher; it may be hidden while
    // the watcher runs.
    QApplication::setQuitOnLastWindowClosed(false);

    ApplicationWindows windows;
    windows.showMain();
    return app.exec();
}
