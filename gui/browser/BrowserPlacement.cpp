#include "browser/BrowserPlacement.h"

#include "state/LauncherState.h"
#include "windows/RememberedPlace.h"

#include <QEvent>
#include <QHeaderView>
#include <QSplitter>
#include <QWidget>

BrowserPlacement::BrowserPlacement(QWidget* window, QSplitter* splitter, QHeaderView* columns,
                                   LauncherState& state)
    : QObject(window), window_(window), splitter_(splitter), columns_(columns), state_(state) {
    connect(&state_, &LauncherState::aboutToSave, this, &BrowserPlacement::note);
    // A column resized while the mouse is pressed on the header is sized by
    // the user; the browser's own layout resizes them at other times.
    columns_->viewport()->installEventFilter(this);
    connect(columns_, &QHeaderView::sectionResized, this, [this] {
        if (pressedOnHeader_)
            columnsSizedByUser_ = true;
    });
}

bool BrowserPlacement::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        pressedOnHeader_ = true;
    else if (event->type() == QEvent::MouseButtonRelease)
        pressedOnHeader_ = false;
    return false;
}

bool BrowserPlacement::restore() {
    shown_ = true;
    const RememberedGeometry& remembered = state_.settings.Geometry;
    const QList<int>& place = remembered.browser;
    if (place.size() == 4)
        window_->resize(QSize(place[2], place[3]).expandedTo(window_->minimumSizeHint()));
    if (remembered.browserSplitter.size() == splitter_->count())
        splitter_->setSizes(remembered.browserSplitter);
    if (remembered.browserColumns.size() == columns_->count()) {
        for (int column = 0; column < columns_->count(); ++column)
            columns_->resizeSection(column, remembered.browserColumns[column]);
        columnsSizedByUser_ = true;
    }
    if (remembered.browserSort.size() == 2 && remembered.browserSort[0] < columns_->count())
        columns_->setSortIndicator(remembered.browserSort[0], remembered.browserSort[1] == 1
                                                                  ? Qt::DescendingOrder
                                                                  : Qt::AscendingOrder);
    const std::optional<QPoint> corner = rememberedCorner(place, window_->size());
    if (corner)
        window_->move(*corner);
    return corner.has_value();
}

void BrowserPlacement::note() {
    if (!shown_)
        return;
    RememberedGeometry& geometry = state_.settings.Geometry;
    geometry.browser = {window_->x(), window_->y(), window_->width(), window_->height()};
    geometry.browserSplitter = splitter_->sizes();
    if (columnsSizedByUser_) {
        geometry.browserColumns.clear();
        for (int column = 0; column < columns_->count(); ++column)
            geometry.browserColumns << columns_->sectionSize(column);
    }
    const int sorted = columns_->sortIndicatorSection();
    if (sorted >= 0 && sorted < columns_->count())
        geometry.browserSort = {sorted, columns_->sortIndicatorOrder() == Qt::DescendingOrder};
}
