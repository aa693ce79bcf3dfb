#pragma once

#include <QString>
#include <exception>

class QWidget;

// The application's default error report: a message box with the error's
// text. Errors never cross Qt's event dispatch: every handler entry point
// runs its body through guarded().
void reportError(const QString& message, QWidget* parent = nullptr);
void reportCurrentException(QWidget* parent = nullptr);
// The text of the exception being handled.
QString currentExceptionMessage();

template <typename Body> void guarded(QWidget* parent, Body&& body) {
    try {
        body();
    } catch (...) {
        reportCurrentException(parent);
    }
}
