// zam-demo-game: stands in for the game in the demo. It opens a small window
// that lists the arguments it was started with and its working directory, so
// a user can see the command line the launcher built.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);

    QWidget window;
    window.setWindowTitle(QStringLiteral("ZAM (demo stand-in)"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Started in %1\nwith %2 argument(s):")
                                     .arg(QDir::currentPath())
                                     .arg(arguments.size())));
    auto* list = new QListWidget;
    list->addItems(arguments);
    layout->addWidget(list);
    auto* quit = new QPushButton(QStringLiteral("Quit game"));
    QObject::connect(quit, &QPushButton::clicked, &app, &QApplication::quit);
    layout->addWidget(quit);
    window.resize(480, 300);
    window.show();
    return app.exec();
}
