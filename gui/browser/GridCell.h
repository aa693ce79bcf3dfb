#pragma once

#include <QTableWidgetItem>

class QTableWidget;

// A cell of the server grid that holds its text itself. A sweep writes five
// cells per server and every reply three more; written with writeQuietly, a
// text takes no model update and no variant, and the window repaints the
// rows it changed once for a burst. Any other change goes through setData
// and tells the view as a plain item does.
class GridCell : public QTableWidgetItem {
public:
    explicit GridCell(const QString& text);

    QVariant data(int role) const override;
    void setData(int role, const QVariant& value) override;

    // Writes text into the grid's cell at row and column, creating the cell
    // when it is missing, without telling the view.
    static void writeQuietly(QTableWidget* grid, int row, int column, const QString& text);

private:
    QString text_;
};
