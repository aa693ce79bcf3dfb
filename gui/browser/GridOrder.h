#pragma once

#include <QObject>

class ServerGrid;

// Sorts the browser's server grid by the column whose header the user
// clicked; a second click on it reverses the order. Row r of the grid's cells
// stays slot r, so everything that reads the selected row follows the
// selected server: only the order of the grid's proxy changes. Until the
// first click the rows show in the table's order.
class GridOrder : public QObject {
public:
    explicit GridOrder(ServerGrid* grid);

    // Shows the rows in the chosen order again and filters them, from their
    // present texts; the browser calls it when a sweep ended, so rows never
    // move while replies arrive.
    void apply();

private:
    void sortBy(int column, Qt::SortOrder order);

    ServerGrid* grid_;
    int column_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};
