#include "WindowSteps.h"
#include "dialogs/Unit3.h"
#include "query/LanDiscovery.h"
#include "settings/Tables.h"
#include "support/ScriptedPrompts.h"
#include "support/SharedState.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"
#include "testkit/StatusResponder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

// Mods Alpha (10), Beta (20, ticked) and Gamma (30), and without `empty`
// the servers one (10), two (20, DirectPlay) and three (30).
QByteArray storeText(const QString& executable, bool empty) {
    StoreText text;
    text.launcher(executable)
        .mod(10, "Alpha", "alpha", false)
        .mod(20, "Beta", "beta", true)
        .mod(30, "Gamma", "gamma", false);
    if (!empty)
        text.server(10, {"one", "one.example", "2302", "pw-one", true, "alpha;"})
            .server(20, {"two", "two.example", "2302", "pw-two", false, "beta;gamma"})
            .server(30, {"three", "three.example", "2302", "pw-three", true, "gamma;alpha;"});
    return text;
}

QString serverEntry(int k, const QList<int>& seededIds) {
    const qint32 id = serverTable.Id[k];
    return QStringList{seededIds.contains(id) ? QString::number(id) : QStringLiteral("new"),
                       serverTable.Name[k],
                       serverTable.Host[k],
                       serverTable.Port[k],
                       serverTable.Pass[k],
                       QString::number(int(serverTable.Sockets[k])),
                       serverTable.Mods[k]}
        .join(u'|');
}

QStringList serverEntries() {
    QStringList entries;
    for (int k = 0; k <= serverTable.Last; ++k)
        entries << serverEntry(k, {10, 20, 30});
    return entries;
}

QList<bool> checkMarks(const QListWidget* list) {
    QList<bool> marks;
    for (int m = 0; m < list->count(); ++m)
        marks << (list->item(m)->checkState() == Qt::Checked);
    return marks;
}

void typeInto(QComboBox* combo, const QString& text) {
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, text);
}

void pick(QComboBox* combo, int index) {
    combo->setFocus();
    for (int i = combo->currentIndex(); i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

struct Editor {
    explicit Editor(bool empty = false) {
        store.write(storeText(store.existingFile(), empty));
        LauncherState::instance().load();
        editor = std::make_unique<TForm3>();
        form = editor.get();
    }
    StoreFixture store;
    InstalledPrompts prompts;
    std::unique_ptr<TForm3> editor;
    TForm3* form;
};

} // namespace

class TestServersEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { resetSharedState(); }
    void fieldsShown_data();
    void fieldsShown();
    void save_data();
    void save();
    void deleteEntry_data();
    void deleteEntry();
    void fullTableRefusesNewEntry();
    void lanServerSavedWithOneClick();
};

// Row: the entry picked (-1: typed over a filled-in entry), what the fields show.
void TestServersEditor::fieldsShown_data() {
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("pick");
    QTest::addColumn<QString>("fields"); // name|host|port|pass|impl
    QTest::addColumn<QList<bool>>("mods");

    QTest::newRow("Sockets, one mod")
        << false << 0 << "one|one.example|2302|pw-one|Sockets" << QList<bool>{true, false, false};
    QTest::newRow("DirectPlay, last name without ;")
        << false << 1 << "two|two.example|2302|pw-two|DirectPlay"
        << QList<bool>{false, true, false};
    QTest::newRow("names out of table order")
        << false << 2 << "three|three.example|2302|pw-three|Sockets"
        << QList<bool>{true, false, true};
    QTest::newRow("typing resets the fields")
        << false << -1 << "new one||2302||Sockets" << QList<bool>{false, false, false};
    QTest::newRow("empty table") << true << 0 << "||2302||Sockets"
                                 << QList<bool>{false, false, false};
}

void TestServersEditor::fieldsShown() {
    QFETCH(bool, empty);
    QFETCH(int, pick);
    QFETCH(QString, fields);
    QFETCH(QList<bool>, mods);

    Editor editor(empty);
    TForm3* form = editor.form;
    QVERIFY(bringUp(form));
    if (pick < 0) {
        ::pick(form->ServerList, 1);
        form->host->setText("filled");
        form->pass->setText("filled");
        form->impl->setCurrentIndex(1);
        form->modlistb->item(0)->setCheckState(Qt::Checked);
        typeInto(form->ServerList, "new one");
        QCOMPARE(form->ServerList->currentIndex(), -1);
    } else {
        ::pick(form->ServerList, pick);
    }

    const QString shown = QStringList{form->name->text(), form->host->text(), form->port->text(),
                                      form->pass->text(), form->impl->currentText()}
                              .join(u'|');
    QCOMPARE(shown, fields);
    QCOMPARE(checkMarks(form->modlistb), mods);
    QCOMPARE(form->modlistb->item(1)->text(), QString("Beta"));
}

void TestServersEditor::save_data() {
    QTest::addColumn<int>("pick");     // -1: a new server named "four"
    QTest::addColumn<QString>("impl"); // an item to pick, or text to type
    QTest::addColumn<QList<int>>("tick");
    QTest::addColumn<QString>("entry"); // the saved entry, found by its slot or name

    QTest::newRow("new server, mods 0 and 2")
        << -1 << "DirectPlay" << QList<int>{0, 2} << "new|four|host4|2302|pw4|0|alpha;gamma;";
    QTest::newRow("typed implementation is DirectPlay")
        << -1 << "sock" << QList<int>{} << "new|four|host4|2302|pw4|0|";
    QTest::newRow("Sockets") << -1 << "Sockets" << QList<int>{1}
                             << "new|four|host4|2302|pw4|1|beta;";
    QTest::newRow("change in place keeps Id")
        << 1 << "Sockets" << QList<int>{} << "20|four|host4|2302|pw4|1|beta;";
    QTest::newRow("rewritten in table order")
        << 2 << "Sockets" << QList<int>{} << "30|four|host4|2302|pw4|1|alpha;gamma;";
}

void TestServersEditor::save() {
    QFETCH(int, pick);
    QFETCH(QString, impl);
    QFETCH(QList<int>, tick);
    QFETCH(QString, entry);

    Editor editor;
    TForm3* form = editor.form;
    QVERIFY(bringUp(form));
    if (pick < 0)
        typeInto(form->ServerList, "four");
    else
        ::pick(form->ServerList, pick);
    form->name->setText("four");
    form->host->setText("host4");
    form->pass->setText("pw4");
    const int item = form->impl->findText(impl);
    if (item >= 0)
        form->impl->setCurrentIndex(item);
    else
        typeInto(form->impl, impl);
    for (int m : tick)
        form->modlistb->item(m)->setCheckState(Qt::Checked);
    form->BitBtn1->click();

    QCOMPARE(serverTable.Last, pick < 0 ? 3 : 2);
    int saved = -1;
    for (int k = 0; k <= serverTable.Last; ++k)
        if (serverTable.Name[k] == "four")
            saved = k;
    QVERIFY(saved >= 0);
    QCOMPARE(serverEntry(saved, {10, 20, 30}), entry);
    QStringList ids;
    for (int k = 0; k <= serverTable.Last; ++k)
        ids << QString::number(serverTable.Id[k]);
    QCOMPARE(storedKeys(StoreKeys::Servers), ids);
    QCOMPARE(form->ServerList->currentIndex(), 0);
    QCOMPARE(form->name->text(), serverTable.Name[0]);
}

void TestServersEditor::deleteEntry_data() {
    QTest::addColumn<int>("pick");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("first of three, Ids stay in their slots")
        << 0 << true
        << QStringList{"10|two|two.example|2302|pw-two|0|beta;gamma",
                       "20|three|three.example|2302|pw-three|1|gamma;alpha;"};
    QTest::newRow("last one") << 2 << true
                              << QStringList{"10|one|one.example|2302|pw-one|1|alpha;",
                                             "20|two|two.example|2302|pw-two|0|beta;gamma"};
    QTest::newRow("typed text removes nothing")
        << -1 << true
        << QStringList{"10|one|one.example|2302|pw-one|1|alpha;",
                       "20|two|two.example|2302|pw-two|0|beta;gamma",
                       "30|three|three.example|2302|pw-three|1|gamma;alpha;"};
    QTest::newRow("No changes nothing") << 1 << false << QStringList{};
}

void TestServersEditor::deleteEntry() {
    QFETCH(int, pick);
    QFETCH(bool, yes);
    QFETCH(QStringList, entries);

    Editor editor;
    editor.prompts->confirmAnswer = yes;
    TForm3* form = editor.form;
    QVERIFY(bringUp(form));
    const QByteArray before = editor.store.read();
    if (pick < 0)
        typeInto(form->ServerList, "zzz");
    else
        ::pick(form->ServerList, pick);
    form->host->setText("edited");
    form->BitBtn2->click();

    QCOMPARE(editor.prompts->confirmations, QStringList{"Are you sure?"});
    if (!yes) {
        QCOMPARE(editor.store.read(), before);
        QCOMPARE(serverTable.Last, 2);
        QCOMPARE(form->host->text(), QString("edited"));
        return;
    }
    QCOMPARE(serverEntries(), entries);
    QCOMPARE(storedKeys(StoreKeys::Servers).size(), entries.size());
    QCOMPARE(form->host->text(), serverTable.Host[0]);
}

void TestServersEditor::fullTableRefusesNewEntry() {
    Editor editor;
    serverTable.Last = SLOT_COUNT - 1;
    TForm3* form = editor.form;
    QVERIFY(bringUp(form));
    const QByteArray before = editor.store.read();

    typeInto(form->ServerList, "One too many");
    form->BitBtn1->click();

    QCOMPARE(editor.prompts->messages.size(), 1);
    QVERIFY(editor.prompts->messages[0].contains("full"));
    QCOMPARE(serverTable.Last, SLOT_COUNT - 1);
    QCOMPARE(editor.store.read(), before);
}

// A server found on the network is saved as a new entry by its row's Save,
// whatever entry the editor showed; the search is aimed at a local responder.
void TestServersEditor::lanServerSavedWithOneClick() {
    Editor editor;
    TForm3* form = editor.form;
    QVERIFY(bringUp(form));
    pick(form->ServerList, 1);
    StatusResponder responder;
    QVERIFY(responder.listen(2391, {{"\\hostname\\Lan party\\hostport\\2389\\"}}));
    form->findChild<LanDiscovery*>()->setTargets({QHostAddress::LocalHost});

    form->findChild<QPushButton*>("FindLanServers")->click();
    auto* list = form->findChild<QTableWidget*>("LanServers");
    QTRY_VERIFY(list->isVisible());
    QVERIFY(form->height() > 233);
    const auto found = list->findItems("127.0.0.1:2389", Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    qobject_cast<QPushButton*>(list->cellWidget(found[0]->row(), 5))->click();

    QVERIFY(serverEntries().contains("new|Lan party|127.0.0.1|2389||0|"));
    QCOMPARE(storedKeys(StoreKeys::Servers).size(), 4);
}

QTEST_MAIN(TestServersEditor)
#include "tst_servers_editor.moc"
