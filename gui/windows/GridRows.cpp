#include "windows/GridRows.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>

namespace {

void fitRows(QTableView* grid, int minimum) {
    const int height = std::max(minimum, grid->fontMetrics().height() + 4);
    grid->verticalHeader()->setMinimumSectionSize(height);
    grid->verticalHeader()->setDefaultSectionSize(height);
}

class RowFit : public QObject {
public:
    RowFit(QTableView* grid, int minimum) : QObject(grid), grid_(grid), minimum_(minimum) {
        grid->installEventFilter(this);
        fitRows(grid, minimum);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == grid_ && event->type() == QEvent::FontChange)
            fitRows(grid_, minimum_);
        return false;
    }

private:
    QTableView* grid_;
    int minimum_;
};

} // namespace

void fitRowsToFont(QTableView* grid, int minimum) {
    new RowFit(grid, minimum);
}
