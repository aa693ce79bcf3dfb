// TAboutDialog, the About box: the launcher's name and version.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the launcher's name and version and an OK button.
class TAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit TAboutDialog(QWidget* parent = nullptr);

    void OKBtnClick();

    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKBtn;
};

extern TAboutDialog* AboutDialog;
