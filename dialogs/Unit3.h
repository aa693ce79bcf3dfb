#pragma once

#include <QWidget>

// The servers editor window; its controls come with the work that builds it.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

extern TForm3* Form3;
