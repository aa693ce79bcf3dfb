#pragma once

#include "settings/StoreLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A store file in a temporary folder, made the launcher's store for the life
// of the object.
struct StoreFixture {
    StoreFixture() { StoreLocation::setPath(path()); }
    ~StoreFixture() { StoreLocation::reset(); }

    QString path() const { return dir.filePath(QStringLiteral("zam-launcher/registry.reg")); }

    void write(const QByteArray& text) const {
        QDir().mkpath(dir.filePath(QStringLiteral("zam-launcher")));
        QFile file(path());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }

    QByteArray read() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A file that exists, for stores whose executable must be found.
    QString existingFile() const {
        const QString exe = dir.filePath(QStringLiteral("zam.exe"));
        QFile file(exe);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write("game");
        return exe;
    }

    QTemporaryDir dir;
};
