#include "windows/PlacementAnchor.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget> anchor;
}

QWidget* placementAnchor() {
    return anchor;
}

void setPlacementAnchor(QWidget* window) {
    anchor = window;
}
