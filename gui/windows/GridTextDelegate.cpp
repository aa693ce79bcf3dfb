#include "windows/GridTextDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

QRect textRectOf(const QStyleOptionViewItem& cell) {
    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    return cell.rect.adjusted(margin, 0, -margin, 0);
}

QPalette::ColorGroup colorGroupOf(const QStyleOptionViewItem& cell) {
    if (!(cell.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return cell.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

} // namespace

void GridTextDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.features & (QStyleOptionViewItem::HasCheckIndicator |
                         QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = cell.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);

    const QPalette::ColorGroup group = colorGroupOf(cell);
    const bool selected = cell.state & QStyle::State_Selected;
    if (!cell.text.isEmpty()) {
        const QRect textRect = textRectOf(cell);
        painter->save();
        painter->setClipRect(cell.rect);
        painter->setFont(cell.font);
        painter->setPen(
            cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(
            textRect, int(cell.displayAlignment) | Qt::TextSingleLine,
            cell.fontMetrics.elidedText(cell.text, cell.textElideMode, textRect.width()));
        painter->restore();
    }

    if (cell.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(cell);
        focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &cell, widget);
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor =
            cell.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

bool GridTextDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (cell.fontMetrics.horizontalAdvance(cell.text) <= textRectOf(cell).width()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), cell.text, view->viewport(), option.rect);
    return true;
}
