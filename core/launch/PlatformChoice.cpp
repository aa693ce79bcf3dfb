#include "launch/PlatformChoice.h"

namespace {

bool isSet(const QProcessEnvironment& environment, const QString& name) {
    return !environment.value(name).isEmpty();
}

bool isWaylandSession(const QProcessEnvironment& environment) {
    return isSet(environment, QStringLiteral("WAYLAND_DISPLAY")) ||
           environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QStringLiteral("wayland");
}

} // namespace

QByteArray choosePlatform(const QProcessEnvironment& environment) {
    if (isWaylandSession(environment) && isSet(environment, QStringLiteral("DISPLAY")) &&
        !isSet(environment, QStringLiteral("QT_QPA_PLATFORM")))
        return QByteArrayLiteral("xcb");
    return {};
}
