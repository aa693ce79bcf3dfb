#include "windows/RememberedPlace.h"

#include "settings/RememberedGeometry.h"

#include <QGuiApplication>
#include <QScreen>

std::optional<QPoint> rememberedCorner(const QList<int>& place, const QSize& frameSize) {
    if (place.size() < 2)
        return std::nullopt;
    const QPoint corner(place[0], place[1]);
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    if (!frameIsOnScreens(QRect(corner, frameSize), screens))
        return std::nullopt;
    return corner;
}
