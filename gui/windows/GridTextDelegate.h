#pragma once

#include <QStyledItemDelegate>

// Paints a grid's text cells as the style does (the item panel, the text on
// one line in the cell's font, colour and alignment, elided at the cell's
// edge, the focus frame) at a fraction of its cost: the style lays each
// cell's text out three times (to size it, to elide it, to draw it), about
// 100 us a cell, which made a repaint of the browser's grid stop the event
// loop for milliseconds while replies were coming in. Cells with a check box
// or an icon are left to the style. A cell whose text is elided shows the
// whole text as its tooltip.
class GridTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
