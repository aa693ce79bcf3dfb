#pragma once

#include <QObject>

class LauncherState;
class QHeaderView;
class QSplitter;
class QWidget;

// Remembers where the user left the server browser: its place and size, the
// splitter, the widths of columns the user sized and the sorted column. They
// go into the launcher's state before every save, once the browser has been
// shown, and come back when it is first shown.
class BrowserPlacement : public QObject {
public:
    BrowserPlacement(QWidget* window, QSplitter* splitter, QHeaderView* columns,
                     LauncherState& state);

    // Brings back what is remembered; false when the window has no place
    // that lies on a present screen (it is then placed as usual).
    bool restore();
    // Column widths come from the user (or from memory of them): the browser
    // leaves them as they are.
    bool columnsSizedByUser() const { return columnsSizedByUser_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void note();

    QWidget* window_;
    QSplitter* splitter_;
    QHeaderView* columns_;
    LauncherState& state_;
    bool shown_ = false;
    bool columnsSizedByUser_ = false;
    bool pressedOnHeader_ = false;
};
