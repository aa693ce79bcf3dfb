#pragma once

#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A home folder in a temporary folder, made $HOME for the life of the
// object, with Steam's library under ~/.local/share/Steam: Proton versions
// under steamapps/common, a game's Proton prefix under compatdata.
struct SteamFixture {
    QTemporaryDir home;
    ScopedEnvironment homeVariable{"HOME", QFile::encodeName(home.path())};
    QString steam = home.filePath(QStringLiteral(".local/share/Steam"));
    QString compatData = steam + QStringLiteral("/steamapps/compatdata/4711");
    QString pfx = compatData + QStringLiteral("/pfx");

    SteamFixture() { QDir().mkpath(pfx + QStringLiteral("/drive_c")); }

    // A Proton folder with a `proton` script (by default one that does
    // nothing) under steamapps/common of the given Steam folder.
    QString addProton(const QString& name, const QByteArray& script = "#!/bin/sh\n",
                      const QString& steamFolder = {}) const {
        const QString folder = (steamFolder.isEmpty() ? steam : steamFolder) +
                               QStringLiteral("/steamapps/common/") + name;
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/proton"));
        file.open(QIODevice::WriteOnly);
        file.write(script);
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        return folder;
    }

    // ~/.steam/steam as Steam makes it: a link to the Steam folder.
    QString linkSteam() const {
        QDir().mkpath(home.filePath(QStringLiteral(".steam")));
        QFile::link(steam, home.filePath(QStringLiteral(".steam/steam")));
        return home.filePath(QStringLiteral(".steam/steam"));
    }
};
