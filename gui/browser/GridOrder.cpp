#include "browser/GridOrder.h"

#include "query/ServerOrder.h"

#include <QHeaderView>
#include <QTableWidget>

GridOrder::GridOrder(QTableWidget* grid) : QObject(grid), grid_(grid) {
    QHeaderView* header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    // The header flips its indicator on each click; the grid itself never
    // sorts its items, which would tie rows to other slots.
    connect(header, &QHeaderView::sortIndicatorChanged, this, &GridOrder::sortBy);
}

void GridOrder::sortBy(int column, Qt::SortOrder order) {
    column_ = column;
    order_ = order;
    apply();
    if (QTableWidgetItem* selected = grid_->currentItem())
        grid_->scrollToItem(selected);
}

void GridOrder::apply() {
    QStringList texts;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const QTableWidgetItem* item = column_ < 0 ? nullptr : grid_->item(row, column_);
        texts << (item ? item->text() : QString());
    }
    QList<int> slots;
    if (column_ < 0)
        for (int row = 0; row < grid_->rowCount(); ++row)
            slots << row;
    else
        slots = sortedSlots(texts, ServerColumn(column_), order_);
    QHeaderView* rows = grid_->verticalHeader();
    for (int shown = 0; shown < slots.size(); ++shown)
        rows->moveSection(rows->visualIndex(slots[shown]), shown);
}
