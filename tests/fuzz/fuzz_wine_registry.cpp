// Registry files of a Wine prefix (system.reg, user.reg), which other
// programs write: reading values from any bytes must not crash. The reader
// takes a file, so each input is written to one file of this process.

#include "settings/WineRegistry.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

const QString& inputPath() {
    static const QString path = [] {
        std::atexit([] { QFile::remove(inputPath()); });
        return QStringLiteral("/tmp/fuzz_wine_registry.%1.reg").arg(qint64(getpid()));
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QFile file(inputPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const QStringList keys = {
        QStringLiteral("Software\\Harrowmede\\Operation Quellgrove"),
        QStringLiteral("Software\\Wow6432Node\\Harrowmede\\Operation Quellgrove")};
    readWineRegistryText(inputPath(), keys, QStringLiteral("MAIN"));
    readWineRegistryText(inputPath(), keys, QStringLiteral("Player Name"));
    return 0;
}
