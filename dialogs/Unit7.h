#pragma once

#include <QWidget>

// The options window; its controls come with the work that builds it.
class TFormOptions : public QWidget {
    Q_OBJECT
public:
    explicit TFormOptions(QWidget* parent = nullptr);
};

extern TFormOptions* FormOptions;
