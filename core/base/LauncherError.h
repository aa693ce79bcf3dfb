#pragma once

#include <QString>
#include <exception>
#include <stdexcept>

// The base error type of the launcher. Every failure the launcher reports is
// one of these (or derived from it); what() and message() carry the text the
// user sees.
class LauncherError : public std::runtime_error {
public:
    explicit LauncherError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}

    QString message() const { return message_; }

private:
    QString message_;
};

// The text an error shows: a LauncherError's message, another exception's
// what(), or "Unknown error".
QString errorMessage(std::exception_ptr error);
