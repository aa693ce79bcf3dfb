#include "base/LauncherError.h"

QString errorMessage(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const LauncherError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}
