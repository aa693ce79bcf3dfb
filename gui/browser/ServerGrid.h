#pragma once

#include <QTableView>

class QStandardItem;
class QStandardItemModel;
class ServerProxy;

// The browser's server grid: a view of the server cells through a
// ServerProxy, so that the rows shown, their order and the hidden ones are
// the same on screen, for keyboard navigation and in the accessibility tree.
// Row r of cells() is slot r. The row functions below take and give slots,
// as a QTableWidget's take and give its rows, wherever the slot is shown;
// a hidden slot has no place (rowAt and currentRow give -1 for none). When
// the selected slot is hidden, the first one shown is selected.
class ServerGrid : public QTableView {
public:
    ServerGrid(int columns, QWidget* parent);

    QStandardItemModel* cells() const { return cells_; }
    ServerProxy* proxy() const { return proxy_; }

    int rowCount() const;
    void setRowCount(int rows);
    QStandardItem* item(int slot, int column) const;
    void setHorizontalHeaderLabels(const QStringList& labels);

    // The slot's index in the view's model; invalid while it is hidden.
    QModelIndex indexOf(int slot, int column = 0) const;
    // The slot a shown index stands for; -1 for an invalid one.
    int slotOf(const QModelIndex& shown) const;
    int currentRow() const;
    void selectRow(int slot);
    int rowAt(int y) const;
    QRect visualItemRect(const QStandardItem* item) const;
    // The slots in the order shown, hidden ones left out.
    QList<int> shownSlots() const;

private:
    QStandardItemModel* cells_;
    ServerProxy* proxy_;
};
