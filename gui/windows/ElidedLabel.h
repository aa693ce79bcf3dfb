#pragma once

#include <QLabel>

// A one-line label that keeps its whole text and, when the text is wider
// than the label, shows it elided (a path keeps its end, the file name) with
// the whole text as its tooltip. It takes the width its layout gives it, so a
// long text never widens its window.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(Qt::TextElideMode mode, const QString& text = {},
                         QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString shownText() const;
    void updateToolTip(const QString& shown);

    Qt::TextElideMode mode_;
};
