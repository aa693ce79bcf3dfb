#pragma once

#include <QWidget>

// The mods editor window; its controls come with the work that builds it.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

extern TForm2* Form2;
