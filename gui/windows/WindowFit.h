#pragma once

#include <QObject>
#include <QSize>

class QWidget;

// Keeps a window of fixed size exactly as large as its layout needs in the
// desktop's font and style, and at least as large as its designed size:
// whenever the layout asks again (a font or style change, a control shown or
// hidden, a longer caption) and before the window is shown.
class WindowFit : public QObject {
public:
    WindowFit(QWidget* window, QSize minimum = {});

    void setMinimum(QSize minimum);
    // Fits the window now.
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QSize minimum_;
};
