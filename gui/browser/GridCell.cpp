#include "browser/GridCell.h"

#include <QStandardItemModel>

namespace {

bool isText(int role) {
    return role == Qt::DisplayRole || role == Qt::EditRole;
}

} // namespace

GridCell::GridCell(const QString& text) : text_(text) {}

QVariant GridCell::data(int role) const {
    return isText(role) ? QVariant(text_) : QStandardItem::data(role);
}

void GridCell::setData(const QVariant& value, int role) {
    if (!isText(role)) {
        QStandardItem::setData(value, role);
        return;
    }
    text_ = value.toString();
    emitDataChanged();
}

void GridCell::writeQuietly(QStandardItemModel* cells, int row, int column, const QString& text) {
    QStandardItem* item = cells->item(row, column);
    if (item && item->type() == UserType)
        static_cast<GridCell*>(item)->text_ = text;
    else
        cells->setItem(row, column, new GridCell(text));
}
