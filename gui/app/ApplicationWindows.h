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

    TForm1& main() { return *main_; }
    // Shows the main window; the other windows follow as described above.
    void showMain();
    // Makes and links the other six windows unless they exist already.
    void createOthers();
    bool othersCreated() const { return options_ != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TForm1> main_;
    std::unique_ptr<TForm2> mods_;
    std::unique_ptr<TForm3> servers_;
    std::unique_ptr<TForm4> browser_;
    std::unique_ptr<TAboutDialog> about_;
    std::unique_ptr<TFormWatcher> watcher_;
    std::unique_ptr<TFormOptions> options_;
    bool scheduled_ = false;
};
