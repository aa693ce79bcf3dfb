#include "query/UdpEndpoint.h"
#include "support/LauncherWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/StoreFixture.h"
#include "support/StoreText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>

namespace {

// What does not fit: each visible caption, text and column header of the
// window against the room its control has, in the control's own font. A
// text elided on purpose carries the whole text as its tooltip.
QStringList cutTexts(QWidget* window) {
    QStringList cut;
    const auto check = [&](const QWidget* control, const QString& text, QSize need) {
        if (need.width() > control->width() || need.height() > control->height())
            cut << QStringLiteral("%1 '%2': needs %3x%4, has %5x%6")
                       .arg(control->objectName(), text)
                       .arg(need.width())
                       .arg(need.height())
                       .arg(control->width())
                       .arg(control->height());
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window))
            continue;
        if (auto* label = qobject_cast<QLabel*>(control)) {
            if (label->text().isEmpty() || label->toolTip() == label->text())
                continue;
            const QSize need = label->wordWrap() ? QSize(0, label->heightForWidth(label->width()))
                                                 : label->QLabel::sizeHint();
            check(label, label->text(), need);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            if (!button->text().isEmpty())
                check(button, button->text(), button->sizeHint());
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            check(group, group->title(), {group->minimumSizeHint().width(), 0});
        } else if (auto* header = qobject_cast<QHeaderView*>(control)) {
            for (int section = 0; section < header->count(); ++section) {
                const QString caption =
                    header->model()->headerData(section, header->orientation()).toString();
                if (header->orientation() == Qt::Horizontal &&
                    header->sectionSizeHint(section) > header->sectionSize(section))
                    cut << QStringLiteral("%1 '%2': needs %3, has %4")
                               .arg(header->parentWidget()->objectName(), caption)
                               .arg(header->sectionSizeHint(section))
                               .arg(header->sectionSize(section));
            }
        }
    }
    return cut;
}

#define VERIFY_ALL_FIT(cut)                                                                        \
    do {                                                                                           \
        const QStringList found = cut;                                                             \
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("; "))));                   \
    } while (false)

// The texts of a cell must fit its column.
QStringList cutCells(const ServerGrid* grid, const QList<int>& columns) {
    QStringList cut;
    for (int column : columns)
        for (int row = 0; row < grid->rowCount(); ++row) {
            const QString text = grid->item(row, column)->text();
            if (grid->fontMetrics().horizontalAdvance(text) + 4 > grid->columnWidth(column))
                cut << QStringLiteral("%1 column %2 '%3'")
                           .arg(grid->objectName())
                           .arg(column)
                           .arg(text);
        }
    return cut;
}

} // namespace

// Every window, at three desktop font sizes (and, as a second run of the
// test, at a scale factor of 1.5), shows each of its texts whole.
class TestDesktopFonts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTextFits_data();
    void everyTextFits();
};

void TestDesktopFonts::everyTextFits_data() {
    QTest::addColumn<int>("points");
    for (int points : {9, 11, 16})
        QTest::addRow("%d pt", points) << points;
}

void TestDesktopFonts::everyTextFits() {
    QFETCH(int, points);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
    StoreFixture store;
    store.write(StoreText()
                    .launcher(store.existingFile(), {})
                    .server(1, {"Friday night", "127.0.0.1", "1", "", true, ""}));
    InstalledPrompts prompts;
    LauncherWindows windows;

    TForm4* browser = windows.browser.get();
    browser->show();
    QVERIFY(QTest::qWaitForWindowExposed(browser));
    // The widest texts of the ping and the players, as replies write them.
    browser->SGrid->setRowCount(2);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 5; ++column)
            browser->SGrid->cells()->setItem(row, column, new QStandardItem(QStringLiteral("x")));
    browser->SGrid->item(0, 2)->setText(QStringLiteral("9999"));
    browser->SGrid->item(1, 3)->setText(QStringLiteral("17/14"));
    browser->FormResize();
    VERIFY_ALL_FIT(cutCells(browser->SGrid, {2, 3}));
    VERIFY_ALL_FIT(cutTexts(browser));
    browser->hide();

    TFormWatcher* watcher = windows.watcher.get();
    watcher->udps->setRemoteHost(QStringLiteral("127.0.0.1"));
    watcher->udps->setRemotePort(2303);
    for (bool expanded : {false, true}) {
        watcher->show();
        QVERIFY(QTest::qWaitForWindowExposed(watcher));
        watcher->UpdateStatus();
        watcher->status->setText(QStringLiteral("Game in progress..."));
        watcher->mission->setText(QStringLiteral("A mission name as long as a server may send"));
        QCOMPARE(watcher->playerList->isVisible(), expanded);
        QTRY_VERIFY(cutTexts(watcher).isEmpty());
        VERIFY_ALL_FIT(cutTexts(watcher));
        watcher->SpeedButton1->click();
    }
    watcher->hide();

    const QList<QWidget*> others{windows.main.get(), windows.mods.get(), windows.servers.get(),
                                 windows.options.get(), windows.about.get()};
    for (QWidget* window : others) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        VERIFY_ALL_FIT(cutTexts(window));
        window->hide();
    }
}

QTEST_MAIN(TestDesktopFonts)
#include "tst_desktop_fonts.moc"
