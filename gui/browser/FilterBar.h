#pragma once

#include <QWidget>
#include <functional>

class BrowserRefresh;
class LauncherState;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class ServerGrid;
struct BrowserOptions;

// The row above the server grid: "Hide empty", "Hide full", "Hide silent",
// "Max ping" and "Refresh every". A change filters the grid's rows at once
// and is kept in the launcher's options (the store gets it with the next
// save); while the filter hides rows a label tells how many are shown.
class FilterBar : public QWidget {
    Q_OBJECT
public:
    // sweep is what the refresh runs when it is due.
    FilterBar(ServerGrid* grid, LauncherState& state, std::function<void()> sweep, QWidget* window);

    QCheckBox* hideEmpty;
    QCheckBox* hideFull;
    QCheckBox* hideSilent;
    QSpinBox* maxPing;
    QComboBox* refreshEvery;
    QLabel* shownCount;
    BrowserRefresh* refresh;

    // The last control in the order of the Tab key.
    QWidget* lastControl() const;

private:
    void showOptions();
    void takeOptions();
    void countShown();

    ServerGrid* grid_;
    BrowserOptions& options_;
};
