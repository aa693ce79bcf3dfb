#pragma once

#include <QWidget>

// The server browser window; its controls come with the work that builds it.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

extern TForm4* Form4;
