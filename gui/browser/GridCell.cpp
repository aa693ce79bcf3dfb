#include "browser/GridCell.h"

#include <QTableWidget>

namespace {

bool isText(int role) {
    return role == Qt::DisplayRole || role == Qt::EditRole;
}

} // namespace

GridCell::GridCell(const QString& text) : QTableWidgetItem(UserType), text_(text) {}

QVariant GridCell::data(int role) const {
    return isText(role) ? QVariant(text_) : QTableWidgetItem::data(role);
}

void GridCell::setData(int role, const QVariant& value) {
    if (!isText(role)) {
        QTableWidgetItem::setData(role, value);
        return;
    }
    text_ = value.toString();
    if (QTableWidget* grid = tableWidget()) {
        const QModelIndex cell = grid->model()->index(grid->row(this), grid->column(this));
        Q_EMIT grid->model()->dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
    }
}

void GridCell::writeQuietly(QTableWidget* grid, int row, int column, const QString& text) {
    QTableWidgetItem* item = grid->item(row, column);
    if (item && item->type() == UserType)
        static_cast<GridCell*>(item)->text_ = text;
    else
        grid->setItem(row, column, new GridCell(text));
}
