#include "settings/BrowserOptions.h"
#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

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
    QTest::addColumn<QList<StoreValue>>("values");
    QTest::addColumn<BrowserOptions>("expected");
    QTest::addColumn<int>("notices");

    QTest::newRow("missing: defaults") << QList<StoreValue>{} << BrowserOptions() << 0;
    QTest::newRow("all set") << QList<StoreValue>{{"hideempty", dword(1)},
                                                  {"hidefull", dword(1)},
                                                  {"hidesilent", dword(1)},
                                                  {"maxping", dword(150)},
                                                  {"autorefresh", dword(60)}}
                             << BrowserOptions{{true, true, true, 150}, 60} << 0;
    QTest::newRow("wrong kinds") << QList<StoreValue>{{"maxping", quoted("fast")},
                                                      {"hidefull", quoted("yes")},
                                                      {"hideempty", dword(1)}}
                                 << BrowserOptions{{true, false, false, 0}, 0} << 2;
    QTest::newRow("out of range") << QList<StoreValue>{{"hidesilent", dword(2)},
                                                       {"maxping", dword(0xffffffff)},
                                                       {"autorefresh", dword(45)}}
                                  << BrowserOptions() << 3;
}

void TestBrowserOptions::readAndWrite() {
    QFETCH(QList<StoreValue>, values);
    QFETCH(BrowserOptions, expected);
    QFETCH(int, notices);

    StoreFixture fixture;
    fixture.write(StoreText().key(StoreKeys::Launcher, values));
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
    QVERIFY(file.contains(valueLine({"autorefresh", dword(30)})));
    for (const StoreValue& value : values)
        if (value.name != "autorefresh")
            QVERIFY2(file.contains(valueLine(value)), value.name.constData());
}

QTEST_APPLESS_MAIN(TestBrowserOptions)
#include "tst_browser_options.moc"
