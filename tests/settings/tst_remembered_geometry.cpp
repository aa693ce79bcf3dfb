#include "settings/RememberedGeometry.h"
#include "settings/SettingsStore.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QTest>

namespace {

RememberedGeometry loaded(QStringList& notices) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    RememberedGeometry geometry;
    loadGeometry(store, geometry, notices);
    return geometry;
}

} // namespace

class TestRememberedGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsWhatItCan_data();
    void loadsWhatItCan();
    void savesOnlyWhatChanged();
    void frameOnScreens_data();
    void frameOnScreens();
};

void TestRememberedGeometry::loadsWhatItCan_data() {
    QTest::addColumn<QList<StoreValue>>("values");
    QTest::addColumn<QList<int>>("browser");
    QTest::addColumn<QList<int>>("watcher");
    QTest::addColumn<QString>("notice"); // part of it; empty: none

    QTest::newRow("both") << QList<StoreValue>{{"browser", quoted("10,20,600,400")},
                                               {"watcher", quoted("-1200,5")}}
                          << QList<int>{10, 20, 600, 400} << QList<int>{-1200, 5} << "";
    QTest::newRow("too few numbers")
        << QList<StoreValue>{{"browser", quoted("1,2,3")}, {"watcher", quoted("7,8")}}
        << QList<int>{} << QList<int>{7, 8} << "'1,2,3'";
    QTest::newRow("no numbers") << QList<StoreValue>{{"watcher", quoted("left,top")}}
                                << QList<int>{} << QList<int>{} << "\"watcher\"";
    QTest::newRow("another kind") << QList<StoreValue>{{"watcher", dword(5)}} << QList<int>{}
                                  << QList<int>{} << "Invalid data type for 'watcher'";
    QTest::newRow("empty text") << QList<StoreValue>{{"watcher", quoted("")}} << QList<int>{}
                                << QList<int>{} << "";
}

void TestRememberedGeometry::loadsWhatItCan() {
    QFETCH(QList<StoreValue>, values);
    QFETCH(QList<int>, browser);
    QFETCH(QList<int>, watcher);
    QFETCH(QString, notice);

    StoreFixture store;
    store.write(StoreText().key(StoreKeys::Geometry, values));
    QStringList notices;
    const RememberedGeometry geometry = loaded(notices);
    QCOMPARE(geometry.browser, browser);
    QCOMPARE(geometry.watcher, watcher);
    QCOMPARE(notices.size(), notice.isEmpty() ? 0 : 1);
    if (!notice.isEmpty())
        QVERIFY2(notices[0].contains(notice), qPrintable(notices[0]));
}

// Only a changed place is written: one spelled otherwise stays as it is, one
// not understood is replaced once its window has a place, and what this
// version does not know stays.
void TestRememberedGeometry::savesOnlyWhatChanged() {
    StoreFixture store;
    store.write(StoreText().key(StoreKeys::Geometry, {{"browser", quoted("0x10,20,600,400")},
                                                      {"watcher", dword(5)},
                                                      {"theirs", quoted("kept")}}));
    QStringList notices;
    const RememberedGeometry stored = loaded(notices);
    const QByteArray before = store.read();
    {
        SettingsStore unchanged;
        saveGeometry(unchanged, stored, &stored);
        unchanged.commit();
    }
    QCOMPARE(store.read(), before);

    RememberedGeometry now = stored;
    now.watcher = {30, 40};
    SettingsStore changed;
    saveGeometry(changed, now, &stored);
    changed.commit();
    const QByteArray after = store.read();
    QVERIFY(after.contains("\"browser\"=\"0x10,20,600,400\""));
    QVERIFY(after.contains("\"watcher\"=\"30,40\""));
    QVERIFY(after.contains("\"theirs\"=\"kept\""));
}

void TestRememberedGeometry::frameOnScreens_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("onScreens");
    // A screen of 1920 x 1080 with a second one of 1280 x 1024 to its left.
    QTest::newRow("inside") << QRect(100, 100, 600, 400) << true;
    QTest::newRow("partly off the right edge") << QRect(1800, 100, 600, 400) << true;
    QTest::newRow("on the left screen") << QRect(-1000, 50, 600, 400) << true;
    QTest::newRow("title bar above every screen") << QRect(100, -300, 600, 400) << false;
    QTest::newRow("a sliver at the right edge") << QRect(1900, 100, 600, 400) << false;
    QTest::newRow("where a third screen was") << QRect(2500, 100, 600, 400) << false;
}

void TestRememberedGeometry::frameOnScreens() {
    QFETCH(QRect, frame);
    QFETCH(bool, onScreens);
    QCOMPARE(frameIsOnScreens(frame, {QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)}),
             onScreens);
}

QTEST_MAIN(TestRememberedGeometry)
#include "tst_remembered_geometry.moc"
