#include "tools/bench/StoreSeed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void writeSeededStore(const QString& path, const QString& executable, int mods, int servers,
                      int firstPort, const QString& host) {
    QByteArray text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n\"executable\"=\"" +
                      executable.toUtf8() +
                      "\"\n\"nosplash\"=dword:00000001\n\"window\"=dword:00000000\n"
                      "\"close\"=dword:00000000\n\"watchers\"=dword:00000001\n"
                      "\"sound1\"=\"none\"\n\"sound2\"=\"none\"\n\n";
    for (int i = 0; i < mods; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods\\" + QByteArray::number(1000000 + i) +
                "]\n\"name\"=\"Mod " + QByteArray::number(i) + "\"\n\"dir\"=\"mod" +
                QByteArray::number(i) + "\"\n\"checked\"=dword:0000000" + QByteArray::number(i % 2) +
                "\n\n";
    for (int i = 0; i < servers; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\servers\\" +
                QByteArray::number(2000000 + i) + "]\n\"name\"=\"Server " + QByteArray::number(i) +
                "\"\n\"ip\"=\"" +
                (host.contains(u"%1") ? host.arg(i) : host).toUtf8() + "\"\n\"port\"=\"" + QByteArray::number(firstPort + 2 * i) +
                "\"\n\"pass\"=\"\"\n\"mods\"=\"mod1;mod3;\"\n\"sockets\"=dword:00000001\n\n";
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
}
