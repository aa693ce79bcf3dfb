#pragma once

#include <QObject>
#include <memory>

class TAboutDialog;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TFormOptions;
class TFormWatcher;

// The launcher's seven windows, made in the launcher's order and destroyed in
// reverse. The main window is made at once (it loads the store); the other
// six are made on the event loop's first turn after the main window has been
// painted, so the main window appears without waiting for windows the user
// has not opened yet. Input that reaches the application before then makes
// them first, so every window exists before any handler can ask for it.
class ApplicationWindows : public QObject {
public:
    ApplicationWindows();
    ~ApplicationWindows() override;

    // Shows the main window; the other windows follow as described above.
    void showMain();
    // Makes and links the other six windows unless they exist already.
    void createOthers();
    bool othersCreated() const { return options != nullptr; }

    // In the order of creation; members go in reverse, the main window last.
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> mods;
    std::unique_ptr<TForm3> servers;
    std::unique_ptr<TForm4> browser;
    std::unique_ptr<TAboutDialog> about;
    std::unique_ptr<TFormWatcher> watcher;
    std::unique_ptr<TFormOptions> options;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool scheduled_ = false;
};
