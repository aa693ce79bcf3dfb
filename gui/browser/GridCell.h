#pragma once

#include <QStandardItem>

class QStandardItemModel;

// A cell of the server grid that holds its text itself. A sweep writes five
// cells per server and every reply three more; written with writeQuietly, a
// text takes no model update and no variant, and the window repaints the
// rows it changed once for a burst. Any other change goes through setData
// and tells the view as a plain item does.
class GridCell : public QStandardItem {
public:
    explicit GridCell(const QString& text);

    int type() const override { return UserType; }
    QVariant data(int role) const override;
    void setData(const QVariant& value, int role) override;

    // Writes text into the cells' cell at row and column, creating the cell
    // when it is missing, without telling the view.
    static void writeQuietly(QStandardItemModel* cells, int row, int column, const QString& text);

private:
    QString text_;
};
