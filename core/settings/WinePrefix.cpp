#include "settings/WinePrefix.h"

#include "settings/StoreKeys.h"
#include "settings/WineRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The game's key relative to a hive: "Software\Harrowmede\Operation Quellgrove".
QString gameKey() {
    return StoreKeys::Game.sliced(1).chopped(1);
}

bool isDriveLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

QString readPrefixText(const QString& fileName, const QStringList& keyPaths,
                       const QString& valueName) {
#ifdef Q_OS_WIN
    Q_UNUSED(fileName);
    Q_UNUSED(keyPaths);
    Q_UNUSED(valueName);
    return QString();
#else
    return readWineRegistryText(WinePrefix::path() + u'/' + fileName, keyPaths, valueName);
#endif
}

} // namespace

namespace WinePrefix {

QString path() {
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : configured;
}

QString mapDrivePath(const QString& windowsPath) {
    if (windowsPath.size() < 2 || !isDriveLetter(windowsPath[0]) || windowsPath[1] != u':' ||
        (windowsPath.size() > 2 && windowsPath[2] != u'/'))
        return windowsPath;
    const QChar letter = windowsPath[0].toLower();
    const QString drive = letter == u'c' ? QStringLiteral("/drive_c")
                                         : QStringLiteral("/dosdevices/") + letter + u':';
    return path() + drive + windowsPath.sliced(2);
}

QString containing(const QString& localPath) {
    QDir dir = QFileInfo(localPath).absoluteDir();
    do {
        if (QFileInfo(dir.filePath(QStringLiteral("system.reg"))).isFile() &&
            QFileInfo(dir.filePath(QStringLiteral("drive_c"))).isDir())
            return dir.path();
    } while (dir.cdUp());
    return path();
}

QString gameDir() {
    const QString wow32 = QStringLiteral("Software\\Wow6432Node\\") + gameKey().section(u'\\', 1);
    return readPrefixText(QStringLiteral("system.reg"), {wow32, gameKey()}, QStringLiteral("MAIN"));
}

QString playerName() {
    return readPrefixText(QStringLiteral("user.reg"), {gameKey()}, QStringLiteral("Player Name"));
}

} // namespace WinePrefix
