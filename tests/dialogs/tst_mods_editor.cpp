#include "WindowSteps.h"
#include "settings/EntryId.h"
#include "settings/Tables.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// A store with the first `count` of Alpha (10), Beta (20, ticked) and Gamma (30).
QByteArray storeWithMods(const QString& executable, int count) {
    StoreText text;
    text.launcher(executable);
    const QStringList names{"Alpha", "Beta", "Gamma"};
    for (int m = 0; m < count; ++m)
        text.mod(10 * (m + 1), names[m], names[m].toLower(), m == 1);
    return text;
}

// "Id|Name|Dir|checked" of every mod, Id "new" for one that was not seeded.
QStringList modEntries(const QList<int>& seededIds) {
    QStringList entries;
    for (int k = 0; k <= modTable.Last; ++k) {
        const qint32 id = modTable.Id[k];
        entries << QStringLiteral("%1|%2|%3|%4")
                       .arg(seededIds.contains(id) ? QString::number(id) : QStringLiteral("new"),
                            modTable.Name[k], modTable.Dir[k])
                       .arg(int(modTable.Checked[k]));
    }
    return entries;
}

QStringList storedIds() {
    QStringList ids;
    for (int k = 0; k <= modTable.Last; ++k)
        ids << QString::number(modTable.Id[k]);
    return ids;
}

// Picks list entry `index` as a user does, or types `text` into the combo.
void chooseEntry(QComboBox* combo, int index, const QString& text) {
    combo->setFocus();
    if (index < 0) {
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo, text);
        return;
    }
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

} // namespace

class TestModsEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void save_data();
    void save();
    void deleteEntry_data();
    void deleteEntry();
    void fullTableRefusesNewEntry();
};

void TestModsEditor::save_data() {
    QTest::addColumn<int>("mods");
    QTest::addColumn<int>("pick");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("rename in place keeps Id and check")
        << 3 << 1 << ""
        << "Beta 2"
        << "beta2" << QStringList{"10|Alpha|alpha|0", "20|Beta 2|beta2|1", "30|Gamma|gamma|0"};
    QTest::newRow("typed name adds an unchecked mod")
        << 3 << -1 << "Delta"
        << "Delta"
        << "delta"
        << QStringList{"10|Alpha|alpha|0", "20|Beta|beta|1", "30|Gamma|gamma|0",
                       "new|Delta|delta|0"};
    QTest::newRow("typed existing name adds a second one")
        << 3 << -1 << "Alpha"
        << "Alpha"
        << " alpha "
        << QStringList{"10|Alpha|alpha|0", "20|Beta|beta|1", "30|Gamma|gamma|0",
                       "new|Alpha| alpha |0"};
    QTest::newRow("empty table, empty texts") << 0 << -1 << ""
                                              << ""
                                              << "" << QStringList{"new|||0"};
}

void TestModsEditor::save() {
    QFETCH(int, mods);
    QFETCH(int, pick);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, dir);
    QFETCH(QStringList, entries);

    StoreFixture store;
    store.write(storeWithMods(store.existingFile(), mods));
    InstalledPrompts prompts;
    LauncherWindows windows;
    TForm2* form = windows.mods.get();
    QVERIFY(bringUp(form));

    chooseEntry(form->ModList, pick, typed);
    if (pick < 0) { // typing starts a new entry: the name follows, the directory is emptied
        QCOMPARE(form->ModList->currentIndex(), -1);
        QCOMPARE(form->Name->text(), typed);
        QCOMPARE(form->Dir->text(), QString());
    } else {
        QCOMPARE(form->Dir->text(), modTable.Dir[pick]);
    }
    form->Name->setText(name);
    form->Dir->setText(dir);
    form->BitBtn2->click();

    QStringList actual = modEntries({10, 20, 30});
    actual.sort();
    entries.sort();
    QCOMPARE(actual, entries);
    QCOMPARE(storedKeys(StoreKeys::Mods), storedIds());
    for (int k = 0; k <= modTable.Last; ++k)
        QVERIFY(modTable.Id[k] >= 0 && modTable.Id[k] <= MAX_ENTRY_ID);
    // The window and the main window's check list show the reloaded table.
    QCOMPARE(form->ModList->count(), modTable.Last + 1);
    QCOMPARE(form->ModList->currentIndex(), 0);
    QCOMPARE(form->Name->text(), modTable.Name[0]);
    QCOMPARE(windows.main->ModList->count(), modTable.Last + 1);
    QVERIFY(prompts->messages.isEmpty());
}

// Before each Delete the first mod is ticked in the main window but not
// saved: a Delete that writes the store writes that tick too.
void TestModsEditor::deleteEntry_data() {
    QTest::addColumn<int>("mods");
    QTest::addColumn<int>("pick");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("entries"); // empty: the store is left as it was

    QTest::newRow("first of three, Ids move along")
        << 3 << 0 << true << QStringList{"20|Beta|beta|1", "30|Gamma|gamma|0"};
    QTest::newRow("middle one") << 3 << 1 << true
                                << QStringList{"10|Alpha|alpha|1", "30|Gamma|gamma|0"};
    QTest::newRow("the only one") << 1 << 0 << true << QStringList{};
    QTest::newRow("typed text removes nothing but saves")
        << 3 << -1 << true << QStringList{"10|Alpha|alpha|1", "20|Beta|beta|1", "30|Gamma|gamma|0"};
    QTest::newRow("No changes nothing") << 3 << 1 << false << QStringList{};
}

void TestModsEditor::deleteEntry() {
    QFETCH(int, mods);
    QFETCH(int, pick);
    QFETCH(bool, yes);
    QFETCH(QStringList, entries);

    StoreFixture store;
    store.write(storeWithMods(store.existingFile(), mods));
    InstalledPrompts prompts;
    prompts->confirmAnswer = yes;
    LauncherWindows windows;
    TForm2* form = windows.mods.get();
    QVERIFY(bringUp(form));
    windows.main->ModList->item(0)->setCheckState(Qt::Checked);
    const QByteArray before = store.read();
    const int lastBefore = modTable.Last;

    chooseEntry(form->ModList, pick, QStringLiteral("zzz"));
    form->Name->setText(QStringLiteral("edited"));
    form->BitBtn1->click();

    QCOMPARE(prompts->confirmations, QStringList{"Are you sure?"});
    if (!yes) {
        QCOMPARE(store.read(), before);
        QCOMPARE(modTable.Last, lastBefore);
        QCOMPARE(form->Name->text(), QString("edited"));
        return;
    }
    QCOMPARE(modEntries({10, 20, 30}), entries);
    QCOMPARE(storedKeys(StoreKeys::Mods), storedIds());
    QCOMPARE(form->ModList->count(), entries.size());
    QCOMPARE(form->Name->text(), entries.isEmpty() ? QString() : modTable.Name[0]);
}

void TestModsEditor::fullTableRefusesNewEntry() {
    StoreFixture store;
    store.write(storeWithMods(store.existingFile(), 3));
    InstalledPrompts prompts;
    LauncherWindows windows;
    modTable.Last = SLOT_COUNT - 1;
    TForm2* form = windows.mods.get();
    QVERIFY(bringUp(form));
    const QByteArray before = store.read();

    chooseEntry(form->ModList, -1, QStringLiteral("One too many"));
    form->BitBtn2->click();

    QCOMPARE(prompts->messages.size(), 1);
    QVERIFY(prompts->messages[0].contains("full"));
    QCOMPARE(modTable.Last, SLOT_COUNT - 1);
    QCOMPARE(store.read(), before);
}

QTEST_MAIN(TestModsEditor)
#include "tst_mods_editor.moc"
