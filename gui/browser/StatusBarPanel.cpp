#include "browser/StatusBarPanel.h"

#include <QPainter>
#include <QStyle>

StatusBarPanel::StatusBarPanel(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QSize StatusBarPanel::sizeHint() const {
    return {100, fontMetrics().height() + 4};
}

void StatusBarPanel::updateIfChanged() {
    if (text_ != painted_)
        update();
}

void StatusBarPanel::paintEvent(QPaintEvent*) {
    painted_ = text_;
    QPainter painter(this);
    const QRect area = rect().adjusted(2, 0, -2, 0);
    style()->drawItemText(&painter, area, Qt::AlignLeft | Qt::AlignVCenter, palette(), true,
                          fontMetrics().elidedText(text_, Qt::ElideRight, area.width()));
}
