#pragma once

#include <QWidget>

// One panel of text in a status bar. Setting a text neither paints nor lays
// out anything: the owner decides when the panel repaints, so that a burst of
// status changes (two per datagram) costs one paint.
class StatusBarPanel : public QWidget {
public:
    explicit StatusBarPanel(const QString& text, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text) { text_ = text; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
