#include "windows/ErrorReport.h"

#include "base/LauncherError.h"
#include "base/VisibleText.h"
#include "windows/Prompts.h"

#include <QDebug>

void reportError(const QString& message, QWidget* parent) {
    qWarning().noquote() << "error:" << withVisibleControls(message);
    Prompts::instance().error(parent, message);
}

void reportCurrentException(QWidget* parent) {
    reportError(currentExceptionMessage(), parent);
}

QString currentExceptionMessage() {
    return errorMessage(std::current_exception());
}
