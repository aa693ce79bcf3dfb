#include "browser/GridOrder.h"

#include "browser/ServerGrid.h"
#include "browser/ServerProxy.h"
#include "query/ServerOrder.h"

#include <QHeaderView>
#include <QStandardItem>

GridOrder::GridOrder(ServerGrid* grid) : QObject(grid), grid_(grid) {
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
    if (grid_->currentIndex().isValid())
        grid_->scrollTo(grid_->currentIndex());
}

void GridOrder::apply() {
    QList<int> slots;
    if (column_ >= 0) {
        QStringList texts;
        for (int row = 0; row < grid_->rowCount(); ++row) {
            const QStandardItem* item = grid_->item(row, column_);
            texts << (item ? item->text() : QString());
        }
        slots = sortedSlots(texts, ServerColumn(column_), order_);
    }
    grid_->proxy()->arrange(slots);
}
