#include "windows/ErrorReport.h"

#include "windows/Prompts.h"
#include "base/LauncherError.h"

#include <QDebug>

void reportError(const QString& message, QWidget* parent) {
    qWarning().noquote() << "error:" << message;
    Prompts::instance().error(parent, message);
}

void reportCurrentException(QWidget* parent) {
    try {
        throw;
    } catch (const LauncherError& e) {
        reportError(e.message(), parent);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()), parent);
    } catch (...) {
        reportError(QStringLiteral("Unknown error"), parent);
    }
}
