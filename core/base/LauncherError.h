#pragma once

#include <QString>
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
