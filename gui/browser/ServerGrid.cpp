#include "browser/ServerGrid.h"

#include "browser/ServerProxy.h"

#include <QStandardItemModel>

ServerGrid::ServerGrid(int columns, QWidget* parent)
    : QTableView(parent), cells_(new QStandardItemModel(0, columns, this)),
      proxy_(new ServerProxy(this)) {
    proxy_->setSourceModel(cells_);
    setModel(proxy_);
    // A filter that hides the selected server selects the first one shown,
    // so the player grid, Join and Watch never act on a row out of sight.
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (!currentIndex().isValid() && proxy_->rowCount() > 0)
            QTableView::selectRow(0);
    });
}

int ServerGrid::rowCount() const {
    return cells_->rowCount();
}

void ServerGrid::setRowCount(int rows) {
    cells_->setRowCount(rows);
}

QStandardItem* ServerGrid::item(int slot, int column) const {
    return cells_->item(slot, column);
}

void ServerGrid::setHorizontalHeaderLabels(const QStringList& labels) {
    cells_->setHorizontalHeaderLabels(labels);
}

QModelIndex ServerGrid::indexOf(int slot, int column) const {
    return proxy_->mapFromSource(cells_->index(slot, column));
}

int ServerGrid::slotOf(const QModelIndex& shown) const {
    return shown.isValid() ? proxy_->mapToSource(shown).row() : -1;
}

int ServerGrid::currentRow() const {
    return slotOf(currentIndex());
}

void ServerGrid::selectRow(int slot) {
    const QModelIndex shown = indexOf(slot);
    if (shown.isValid())
        QTableView::selectRow(shown.row());
}

int ServerGrid::rowAt(int y) const {
    return slotOf(proxy_->index(QTableView::rowAt(y), 0));
}

QRect ServerGrid::visualItemRect(const QStandardItem* item) const {
    return item ? visualRect(proxy_->mapFromSource(item->index())) : QRect();
}

QList<int> ServerGrid::shownSlots() const {
    QList<int> slots;
    for (int row = 0; row < proxy_->rowCount(); ++row)
        slots << slotOf(proxy_->index(row, 0));
    return slots;
}
