#include "settings/BrowserOptions.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "support/StoreFixture.h"

#include <QTest>

// The browser's options as the store holds them: read with their defaults
// for what is missing or unusable, and written one by one, so a value this
// launcher could not use survives until the user changes that option.
class TestBrowserOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readAndWrite_data();
    void readAndWrite();
};

void TestBrowserOptions::readAndWrite_data() {
    QTest::addColumn<QByteArrayList>("values");
    QTest::addColumn<BrowserOptions>("expected");
    QTest::addColumn<int>("notices");

    QTest::newRow("missing: defaults") << QByteArrayList{} << BrowserOptions() << 0;
    QTest::newRow("all set") << QByteArrayList{"\"hideempty\"=dword:00000001",
                                               "\"hidefull\"=dword:00000001",
                                               "\"hidesilent\"=dword:00000001",
                                               "\"maxping\"=dword:00000096",
                                               "\"autorefresh\"=dword:0000003c"}
                             << BrowserOptions{{true, true, true, 150}, 60} << 0;
    QTest::newRow("wrong kinds") << QByteArrayList{"\"maxping\"=\"fast\"", "\"hidefull\"=\"yes\"",
                                                   "\"hideempty\"=dword:00000001"}
                                 << BrowserOptions{{true, false, false, 0}, 0} << 2;
    QTest::newRow("out of range") << QByteArrayList{"\"hidesilent\"=dword:00000002",
                                                    "\"maxping\"=dword:ffffffff",
                                                    "\"autorefresh\"=dword:0000002d"}
                                  << BrowserOptions() << 3;
}

void TestBrowserOptions::readAndWrite() {
    QFETCH(QByteArrayList, values);
    QFETCH(BrowserOptions, expected);
    QFETCH(int, notices);

    StoreFixture fixture;
    fixture.write("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n" + values.join('\n') +
                  "\n\n");
    BrowserOptions read;
    QStringList told;
    {
        SettingsStore store;
        QVERIFY(store.openKey(StoreKeys::Launcher, false));
        readBrowserOptions(store, read, told);
        QCOMPARE(read, expected);
        QCOMPARE(told.size(), notices);

        BrowserOptions changed = read;
        changed.refreshSeconds = 30;
        writeBrowserOptions(store, changed, &read);
        store.commit();
    }
    const QByteArray file = fixture.read();
    QVERIFY(file.contains("\"autorefresh\"=dword:0000001e"));
    for (const QByteArray& value : values)
        if (!value.startsWith("\"autorefresh\""))
            QVERIFY2(file.contains(value), value.constData());
}

QTEST_APPLESS_MAIN(TestBrowserOptions)
#include "tst_browser_options.moc"
