#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <optional>

// Where to move a window from a remembered place (x and y of its frame, then
// possibly its size): none when nothing is remembered or when a window of
// frameSize there would lie on none of the present screens.
std::optional<QPoint> rememberedCorner(const QList<int>& place, const QSize& frameSize);
