#pragma once

#include <QLabel>

// A label for a file path: it keeps the whole path as its text and, when the
// path is wider than the label, shows its end (the file name) behind "...".
class PathLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};
