#include "launch/ProtonVersions.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

QStringList findProtonFolders(const QString& home) {
    QStringList folders;
    for (const QString& common : {QStringLiteral("/.steam/steam/steamapps/common"),
                                  QStringLiteral("/.local/share/Steam/steamapps/common")}) {
        const QDir dir(home + common);
        for (const QFileInfo& entry :
             dir.entryInfoList({QStringLiteral("Proton*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString folder = entry.canonicalFilePath();
            if (QFileInfo(folder + QStringLiteral("/proton")).isFile() && !folders.contains(folder))
                folders << folder;
        }
    }
    QCollator byName{QLocale(QLocale::English)};
    byName.setNumericMode(true);
    std::sort(folders.begin(), folders.end(), [&](const QString& a, const QString& b) {
        return byName.compare(QFileInfo(a).fileName(), QFileInfo(b).fileName()) < 0;
    });
    return folders;
}
