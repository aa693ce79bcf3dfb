#include "settings/Registry.h"
#include "support/StoreFixture.h"
#include "support/StoreTables.h"
#include "support/WinePrefixFixture.h"

#include <QStringEncoder>
#include <QTest>

namespace {

// Servers and mods of an existing installation as regedit exports them on
// Windows: UTF-16LE with a byte-order mark and CRLF line ends.
const QString kExport = QString::fromUtf8(R"(Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\ZAM Launcher2]
"executable"="C:\\Games\\ZAM\\QuellgroveResistance.exe"
"nosplash"=dword:00000000
"window"=dword:00000001
"close"=dword:00000000
"watchers"=dword:00000002
"sound1"="C:\\Sounds\\go.wav"
"sound2"=""
"o_sound1"="none"
"o_sound2"="none"

[HKEY_CURRENT_USER\Software\ZAM Launcher2\mods]

[HKEY_CURRENT_USER\Software\ZAM Launcher2\mods\-1234]
"name"="Désert Pack"
"dir"="desert"
"checked"=dword:00000001

[HKEY_CURRENT_USER\Software\ZAM Launcher2\servers]

[HKEY_CURRENT_USER\Software\ZAM Launcher2\servers\987654]
"name"="Friday Night Ops"
"ip"="zam.example.org"
"port"="2302"
"pass"="s3cr\"t\\"
"mods"="desert;"
"sockets"=dword:00000001

)");

QByteArray regeditBytes(const QString& text) {
    QString crlf = text;
    crlf.replace("\n", "\r\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(utf16(crlf));
}

void verifyImported(const StoreTables& t) {
    QCOMPARE(t.settings.Windowed, true);
    QCOMPARE(t.settings.SoundMode, 2);
    QCOMPARE(t.settings.Sound1, QString("C:\\Sounds\\go.wav"));
    QCOMPARE(t.settings.Sound2, QString("none"));
    QCOMPARE(t.mods->Last, 0);
    QCOMPARE(t.mods->Id[0], -1234);
    QCOMPARE(t.mods->Name[0], QString::fromUtf8("Désert Pack"));
    QCOMPARE(t.mods->Dir[0], QString("desert"));
    QCOMPARE(t.mods->Checked[0], true);
    QCOMPARE(t.servers->Last, 0);
    QCOMPARE(t.servers->Id[0], 987654);
    QCOMPARE(t.servers->Name[0], QString("Friday Night Ops"));
    QCOMPARE(t.servers->Host[0], QString("zam.example.org"));
    QCOMPARE(t.servers->Port[0], QString("2302"));
    QCOMPARE(t.servers->Pass[0], QString("s3cr\"t\\"));
    QCOMPARE(t.servers->Mods[0], QString("desert;"));
    QCOMPARE(t.servers->Sockets[0], true);
}

} // namespace

class TestRegeditImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportBecomesTheStore();
};

// The export is placed as the store file. The game it names is installed in
// the Wine prefix, so its Windows path is found without a prompt.
void TestRegeditImport::exportBecomesTheStore() {
    WinePrefixFixture wine;
    wine.windowsProgram("drive_c/Games/ZAM/QuellgroveResistance.exe");
    StoreFixture store;
    const QByteArray original = regeditBytes(kExport);
    store.write(original);

    StoreTables t;
    t.load();
    QCOMPARE(t.prompts, QStringList{});
    verifyImported(t);
    QCOMPARE(store.read(), original); // loading alone rewrites nothing

    t.save();
    const QByteArray saved = store.read();
    QVERIFY(saved.startsWith("REGEDIT4\n"));
    QVERIFY(!saved.contains('\r'));
    QVERIFY(saved.contains("\"name\"=\"" + QString::fromUtf8("Désert Pack").toUtf8() + '"'));
    QFile copy(store.path() + ".orig");
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), original);

    StoreTables reloaded;
    reloaded.load();
    QCOMPARE(reloaded.prompts, QStringList{});
    verifyImported(reloaded);
}

QTEST_GUILESS_MAIN(TestRegeditImport)
#include "tst_regedit_import.moc"
