#include "browser/FindBar.h"

#include "browser/ServerGrid.h"
#include "query/ReplyAccounting.h"
#include "query/ServerFind.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QStandardItem>

namespace {

QString cellText(const ServerGrid* grid, int row, int column) {
    const QStandardItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// A light tint of the selection colour, so marked rows never look selected.
QColor markColour(const QPalette& palette) {
    const QColor base = palette.color(QPalette::Base);
    const QColor tint = palette.color(QPalette::Highlight);
    const auto mix = [](int a, int b) { return (a * 3 + b) / 4; };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

} // namespace

FindBar::FindBar(ServerGrid* grid, const QueryTable& queries, QWidget* window)
    : QLineEdit(window), grid_(grid), queries_(queries) {
    setObjectName(QStringLiteral("FindBar"));
    setPlaceholderText(tr("Find a server, mission or player (Enter: next, Esc: close)"));
    setClearButtonEnabled(true);
    hide();
    auto* find = new QShortcut(QKeySequence::Find, window);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        show();
        setFocus();
        selectAll();
    });
    connect(this, &QLineEdit::textChanged, this, &FindBar::remark);
    connect(this, &QLineEdit::returnPressed, this, &FindBar::selectNextMatch);
}

void FindBar::remark() {
    const QString needle = isVisible() ? text() : QString();
    // Rows that were never marked need no clearing.
    if (needle.isEmpty() && !marked_)
        return;
    marked_ = !needle.isEmpty();
    const QBrush marked = markColour(palette());
    const QBrush dimmed = palette().brush(QPalette::Disabled, QPalette::Text);
    matches_.clear();
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const bool match = serverMatches(needle, cellText(grid_, row, NameColumn),
                                         cellText(grid_, row, MissionColumn), queries_, row);
        matches_ << match;
        for (int column = 0; column < grid_->model()->columnCount(); ++column) {
            QStandardItem* item = grid_->item(row, column);
            if (!item)
                continue;
            item->setData(match ? QVariant(marked) : QVariant(), Qt::BackgroundRole);
            item->setData(needle.isEmpty() || match ? QVariant() : QVariant(dimmed),
                          Qt::ForegroundRole);
        }
    }
}

// The next marked row below the selected one in the order shown, from the
// top again after the last; hidden rows are skipped.
void FindBar::selectNextMatch() {
    remark();
    const QList<int> shown = grid_->shownSlots();
    const int count = int(shown.size());
    const int from = int(shown.indexOf(grid_->currentRow()));
    for (int step = 1; step <= count; ++step) {
        const int slot = shown[(from + step) % count];
        if (matches_.value(slot)) {
            grid_->selectRow(slot);
            grid_->scrollTo(grid_->indexOf(slot, NameColumn));
            return;
        }
    }
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        remark();
        grid_->setFocus();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
