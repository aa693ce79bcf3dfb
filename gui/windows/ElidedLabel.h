#pragma once

#include <QLabel>
#include <functional>

// A one-line label that keeps its whole text and, when the text is wider
// than the label, shows it elided (a path keeps its end, the file name) with
// the whole text as its tooltip. It takes the width its layout gives it, so a
// long text never widens its window. A tooltip source, when set, gives the
// tooltip afresh each time one is shown.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(Qt::TextElideMode mode, const QString& text = {},
                         QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    void setToolTipSource(std::function<QString()> source);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString shownText() const;
    void updateToolTip(const QString& shown);

    Qt::TextElideMode mode_;
    std::function<QString()> toolTipSource_;
};
