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
    try {
        throw;
    } catch (const LauncherError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}
