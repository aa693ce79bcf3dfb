#pragma once

#include <QWidget>

// One panel of text in a status bar. Setting a text neither paints nor lays
// out anything: the owner decides when the panel repaints, so that a burst of
// status changes (two per datagram) costs one paint, and none when the burst
// ends on the text already shown.
class StatusBarPanel : public QWidget {
public:
    explicit StatusBarPanel(const QString& text, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text) { text_ = text; }
    // Schedules a paint when the text differs from the one painted last.
    void updateIfChanged();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QString painted_;
};
