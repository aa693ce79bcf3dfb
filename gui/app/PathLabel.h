#pragma once

#include <QLabel>
#include <functional>

// A label for a file path: it keeps the whole path as its text and, when the
// path is wider than the label, shows its end (the file name) behind "...".
// Its tooltip can be asked for afresh each time one is shown.
class PathLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setToolTipSource(std::function<QString()> source);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<QString()> toolTipSource_;
};
