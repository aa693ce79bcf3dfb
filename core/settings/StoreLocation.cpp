#include "settings/StoreLocation.h"

#include <QStandardPaths>

namespace {
QString overridePath;
}

namespace StoreLocation {

QString path() {
    if (!overridePath.isEmpty())
        return overridePath;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zam-launcher/registry.reg");
}

void setPath(const QString& filePath) {
    overridePath = filePath;
}

void reset() {
    overridePath.clear();
}

} // namespace StoreLocation
