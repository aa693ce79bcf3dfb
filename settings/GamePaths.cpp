#include "settings/GamePaths.h"

#include <QDir>
#include <QFileInfo>

QString localPath(const QString& path) {
#ifdef Q_OS_WIN
    return path;
#else
    QString local = path;
    local.replace(u'\\', u'/');
    return local;
#endif
}

bool fileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(localPath(path));
    return info.exists() && !info.isDir();
}

QStringList listProfileNames(const QString& gameDir) {
    const QDir users(localPath(gameDir + QStringLiteral("\\users\\")));
    return users.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Unsorted);
}
