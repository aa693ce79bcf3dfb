#include "settings/GamePaths.h"

#include "settings/WinePrefix.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Windows paths ignore case, this file system does not: each component
// that does not exist as written takes the spelling of an entry of its
// folder that matches it case-insensitively. The components from the first
// one without any match on are kept as written.
QString matchCase(const QString& path) {
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    QStringList parts = path.split(u'/');
    QDir dir(path.startsWith(u'/') ? QStringLiteral("/") : QStringLiteral("."));
    for (QString& part : parts) {
        if (part.isEmpty())
            continue;
        if (!dir.exists(part)) {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            const auto match =
                std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
                    return entry.compare(part, Qt::CaseInsensitive) == 0;
                });
            if (match == entries.end())
                break;
            part = *match;
        }
        if (!dir.cd(part))
            break;
    }
    return parts.join(u'/');
}

} // namespace

QString localPath(const QString& path) {
#ifdef Q_OS_WIN
    return path;
#else
    QString local = path;
    local.replace(u'\\', u'/');
    return matchCase(WinePrefix::mapDrivePath(local));
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
