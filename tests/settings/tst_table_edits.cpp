#include "settings/EntryId.h"
#include "settings/ModsText.h"
#include "settings/TableEdits.h"

#include <QTest>
#include <memory>

namespace {

std::unique_ptr<ModTable> modsWithDirs(const QStringList& dirs) {
    auto mods = std::make_unique<ModTable>();
    for (const QString& dir : dirs)
        mods->Dir[++mods->Last] = dir;
    return mods;
}

} // namespace

class TestTableEdits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void modsTextReadAndWritten_data();
    void modsTextReadAndWritten();
    void newIdsAvoidKeysInUse_data();
    void newIdsAvoidKeysInUse();
    void timeOfDaySeed();
    void fullTableTakesNoEntry();
    void newModIsUncheckedInAReusedSlot();
};

// A server's text is read into check marks, which a save writes back.
void TestTableEdits::modsTextReadAndWritten_data() {
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<bool>>("named");
    QTest::addColumn<QString>("written");

    QTest::newRow("no mods") << QStringList{"A", "B"} << "" << QList<bool>{false, false} << "";
    QTest::newRow("two of three") << QStringList{"A", "B", "C"} << "A;C;"
                                  << QList<bool>{true, false, true} << "A;C;";
    QTest::newRow("last name without ;")
        << QStringList{"A", "B"} << "A;B" << QList<bool>{true, false} << "A;";
    QTest::newRow("table order wins")
        << QStringList{"A", "B"} << "B;A;" << QList<bool>{true, true} << "A;B;";
    QTest::newRow("letter case differs")
        << QStringList{"A", "b"} << "a;B;" << QList<bool>{false, false} << "";
    QTest::newRow(";; names the empty dirs")
        << QStringList{"", "x", ""} << "x;;" << QList<bool>{true, true, true} << ";x;;";
    QTest::newRow("leading ;") << QStringList{"x", ""} << ";" << QList<bool>{false, true} << ";";
    QTest::newRow("same dir twice")
        << QStringList{"x", "y", "x"} << "x;" << QList<bool>{true, false, true} << "x;x;";
    QTest::newRow("unknown name dropped")
        << QStringList{"A"} << "gone;A;" << QList<bool>{true} << "A;";
    QTest::newRow("empty table") << QStringList{} << "A;" << QList<bool>{} << "";
}

void TestTableEdits::modsTextReadAndWritten() {
    QFETCH(QStringList, dirs);
    QFETCH(QString, text);
    QFETCH(QList<bool>, named);
    QFETCH(QString, written);

    const auto mods = modsWithDirs(dirs);
    QCOMPARE(modsNamedIn(*mods, text), named);
    QCOMPARE(modsText(*mods, named), written);
}

void TestTableEdits::newIdsAvoidKeysInUse_data() {
    QTest::addColumn<bool>("inTable");
    QTest::addColumn<QString>("unloadedKey"); // %1: the Id the seed draws first

    QTest::newRow("free") << false << "";
    QTest::newRow("in the table") << true << "";
    QTest::newRow("among the unloaded keys") << false << "%1";
    QTest::newRow("unloaded key with a leading zero") << false << "0%1";
}

void TestTableEdits::newIdsAvoidKeysInUse() {
    QFETCH(bool, inTable);
    QFETCH(QString, unloadedKey);

    const quint32 seed = 49'507'250;
    auto servers = std::make_unique<ServerTable>();
    const qint32 firstDraw = newEntryId(*servers, seed);
    QVERIFY(firstDraw >= 0 && firstDraw <= MAX_ENTRY_ID);
    QCOMPARE(newEntryId(*servers, seed), firstDraw); // the seed alone decides

    servers->Id[++servers->Last] = inTable ? firstDraw : firstDraw + 1;
    servers->Id[++servers->Last] = firstDraw + 2;
    servers->UnloadedKeys << "x";
    if (!unloadedKey.isEmpty())
        servers->UnloadedKeys << unloadedKey.arg(firstDraw);
    const bool taken = inTable || !unloadedKey.isEmpty();

    const qint32 id = newEntryId(*servers, seed);
    QVERIFY(id >= 0 && id <= MAX_ENTRY_ID);
    QCOMPARE(id == firstDraw, !taken);
    QVERIFY(id != firstDraw + 1 && id != firstDraw + 2);
}

void TestTableEdits::timeOfDaySeed() {
    QCOMPARE(timeOfDayMilliseconds(QTime(0, 0)), 0u);
    QCOMPARE(timeOfDayMilliseconds(QTime(13, 45, 7, 250)), 49'507'250u);
    QCOMPARE(timeOfDayMilliseconds(QTime(23, 59, 59, 999)), 86'399'999u);
}

void TestTableEdits::fullTableTakesNoEntry() {
    auto mods = std::make_unique<ModTable>();
    auto servers = std::make_unique<ServerTable>();
    mods->Last = servers->Last = SLOT_COUNT - 2;
    QCOMPARE(addModEntry(*mods, 1), SLOT_COUNT - 1);
    QCOMPARE(addServerEntry(*servers, 1), SLOT_COUNT - 1);
    QCOMPARE(addModEntry(*mods, 2), -1);
    QCOMPARE(addServerEntry(*servers, 2), -1);
    QCOMPARE(mods->Last, SLOT_COUNT - 1);
    QCOMPARE(servers->Last, SLOT_COUNT - 1);
}

void TestTableEdits::newModIsUncheckedInAReusedSlot() {
    auto mods = modsWithDirs({"a", "b"});
    mods->Checked = {true, true};
    mods->Id[0] = 1;
    mods->Id[1] = 2;
    deleteModEntry(*mods, 0);
    QCOMPARE(mods->Last, 0);
    QCOMPARE(mods->Id[0], 2);

    const int k = addModEntry(*mods, 7);
    QCOMPARE(k, 1);
    QCOMPARE(mods->Checked[1], false);
    QVERIFY(mods->Id[1] != 2);
}

QTEST_GUILESS_MAIN(TestTableEdits)
#include "tst_table_edits.moc"
