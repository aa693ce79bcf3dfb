#include "app/Unit1.h"
#include "app/WindowLinks.h"
#include "browser/Unit4.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "launch/PlatformChoice.h"
#include "watcher/Unit6.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    const QByteArray platform = choosePlatform(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZAM Launcher"));
    QApplication::setDesktopFileName(QStringLiteral("net.zamlauncher.ZamLauncher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/resources/icon.png")));
    // Only closing the main window ends the launcher; it may be hidden while
    // the watcher runs.
    QApplication::setQuitOnLastWindowClosed(false);

    // Creation order matters: the main window loads the settings that the
    // other windows read when they are created.
    TForm1 mainWindow;
    TForm2 modsEditor;
    TForm3 serversEditor;
    TForm4 browser;
    TAboutDialog about;
    TFormWatcher watcher;
    TFormOptions options;
    linkWindows(mainWindow, browser, watcher);

    mainWindow.show();
    return app.exec();
}
