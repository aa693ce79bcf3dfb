#pragma once

#include <QList>
#include <QRect>
#include <QStringList>

class SettingsStore;

// Where the user left the server browser and the server watcher, kept in the
// launcher's "geometry" key as texts of comma-separated numbers. An empty
// list is a place not remembered: the window opens where it always did.
struct RememberedGeometry {
    QList<int> browser;         // "browser": x, y, width and height of the window
    QList<int> browserSplitter; // "browserSplitter": the sizes of the splitter's panes
    QList<int> browserColumns;  // "browserColumns": the widths of the server grid's columns
    QList<int> browserSort;     // "browserSort": the sorted column, 0 ascending or 1 descending
    QList<int> watcher;         // "watcher": x and y of the window

    bool operator==(const RememberedGeometry&) const = default;
};

// Reads the geometry key. A value that cannot be read (of another kind, or
// not the numbers it should hold) is left out with a notice saying so, and
// stays in the store until the window it stands for is placed again.
void loadGeometry(SettingsStore& store, RememberedGeometry& geometry, QStringList& notices);

// Writes the places that differ from `stored` (all without it); a place not
// remembered is never written, so nothing is deleted.
void saveGeometry(SettingsStore& store, const RememberedGeometry& geometry,
                  const RememberedGeometry* stored);

// True when a window at frame can still be reached: its top edge, where the
// title bar is, lies on one of the screens for a good part.
bool frameIsOnScreens(const QRect& frame, const QList<QRect>& screens);
