#include "settings/GamePaths.h"

#include "settings/WinePrefix.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

namespace {

// Names of all entries of a folder but "." and "..", hidden ones too, in
// the order the file system lists them. Listed without a name filter: a
// QDir's listing would match every name against a wildcard pattern.
QStringList entryNames(const QString& folder) {
    QStringList names;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot);
    while (entries.hasNext())
        names << entries.nextFileInfo().fileName();
    return names;
}

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
            const QStringList entries = entryNames(dir.path());
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
    return entryNames(localPath(gameDir + QStringLiteral("\\users\\")));
}
