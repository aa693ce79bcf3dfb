#pragma once

#include <QString>
#include <exception>

class QWidget;

// The application's default error report: a message box with the error's
// text. Errors never cross Qt's event dispatch: every handler entry point
// runs its body through guarded(), which tells whether the body ran through
// without an error.
void reportError(const QString& message, QWidget* parent = nullptr);
void reportCurrentException(QWidget* parent = nullptr);
// The text of the exception being handled.
QString currentExceptionMessage();

template <typename Body> bool guarded(QWidget* parent, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        reportCurrentException(parent);
        return false;
    }
}
