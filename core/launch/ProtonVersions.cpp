#include "launch/ProtonVersions.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

QStringList findProtonFolders(const QString& home) {
    QStringList folders;
    QSet<QString> seen;
    for (const QString& common : {QStringLiteral("/.steam/steam/steamapps/common"),
                                  QStringLiteral("/.local/share/Steam/steamapps/common")}) {
        const QDir dir(home + common);
        for (const QFileInfo& entry :
             dir.entryInfoList({QStringLiteral("Proton*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!QFileInfo(entry.filePath() + QStringLiteral("/proton")).isFile())
                continue;
            if (!seen.contains(entry.canonicalFilePath())) {
                seen.insert(entry.canonicalFilePath());
                folders << entry.filePath();
            }
        }
    }
    QCollator byName;
    byName.setNumericMode(true);
    std::sort(folders.begin(), folders.end(), [&](const QString& a, const QString& b) {
        return byName.compare(QFileInfo(a).fileName(), QFileInfo(b).fileName()) < 0;
    });
    return folders;
}
