#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

// What the user chose when the closing save failed.
enum class SaveFailureAnswer { Retry, QuitWithoutSaving, KeepOpen };

// The modal boxes and dialogs the launcher shows. The launcher installs the
// real ones at start-up; headless tests install one that scripts answers.
class Prompts {
public:
    virtual ~Prompts() = default;

    // An information message with an OK button.
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The "Are you sure?"-style question, caption "Confirm", buttons "&Yes"
    // (default) and "&No" (Escape). True only for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // The application's default error report.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // The open-file dialog. filter is "Description|patterns|..."; fileName is
    // the dialog's current file name. Returns the chosen file, or nothing
    // when the user cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& filter,
                                            const QString& fileName) = 0;
    // The save on closing failed with message: "&Retry" (default), "&Quit
    // without saving" and "Cancel" (Escape), which keeps the launcher open.
    // Without an answer of its own a prompt reports the error and keeps open.
    virtual SaveFailureAnswer saveFailed(QWidget* parent, const QString& message);
    // Asks for the password of the server named text; nothing when the user
    // cancelled. Without an answer of its own a prompt cancels.
    virtual std::optional<QString> password(QWidget* parent, const QString& text);

    static Prompts& instance();
    static void install(std::unique_ptr<Prompts> prompts);
};

// An open-file dialog that remembers the file name of its last confirmed run,
// which is what it reports after a cancel.
class OpenDialog {
public:
    explicit OpenDialog(QString filter) : Filter(std::move(filter)) {}

    // Runs the dialog; true when the user chose a file.
    bool Execute(QWidget* parent);

    QString Filter;
    QString FileName;
};
