#pragma once

#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// A Wine prefix in a temporary folder, made $WINEPREFIX for the life of the
// object. Registry files are written the way Wine writes them.
struct WinePrefixFixture {
    QTemporaryDir dir;
    QString prefix = dir.filePath(QStringLiteral("prefix"));
    ScopedEnvironment winePrefix{"WINEPREFIX", QFile::encodeName(prefix)};

    WinePrefixFixture() { QDir().mkpath(prefix + QStringLiteral("/drive_c")); }

    // Writes system.reg or user.reg: Wine's header, then the given sections.
    void writeRegistry(const QString& fileName, const QByteArray& sections) const {
        const QByteArray hive = fileName == QStringLiteral("user.reg")
                                    ? ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
                                    : ";; All keys relative to \\\\Machine\n";
        write(fileName, "WINE REGISTRY Version 2\n" + hive + "\n#arch=win64\n\n" + sections);
    }

    // Writes a file at a path relative to the prefix, making its folders.
    QString write(const QString& relativePath, const QByteArray& bytes) const {
        const QString path = prefix + u'/' + relativePath;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    // A Windows program (a file beginning with "MZ") inside the prefix.
    QString windowsProgram(const QString& relativePath) const {
        return write(relativePath, QByteArray("MZ\x90\x00", 4));
    }
};
