// TFormOptions, the options dialog: the launch options and the watcher's sounds.
#pragma once

#include "dialogs/FixedDialog.h"
#include "windows/Prompts.h"

class FriendOptions;
class InternetServersGroup;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The options dialog: the launch options and the watcher's sounds. "&OK"
// stores the controls and saves; "&Cancel", Escape and the close box store
// nothing.
class TFormOptions : public FixedDialog {
    Q_OBJECT
public:
    explicit TFormOptions(QWidget* parent = nullptr);

    void FormActivate();
    void sounds1Click();
    void sounds2Click();
    void sounds3Click();
    void UpdateJuttu();
    void Button2Click();
    void Button1Click();
    void BitBtn2Click();
    void BitBtn1Click();

    QGroupBox* GroupBox1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QGroupBox* GroupBox2;
    QRadioButton* sounds1;
    QRadioButton* sounds2;
    QRadioButton* sounds3;
    QLabel* Label1;
    QLineEdit* sound1;
    QPushButton* Button2;
    QLabel* Label2;
    QLineEdit* sound2;
    QPushButton* Button1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;
    FriendOptions* Friends;
    InternetServersGroup* internetServers;
    OpenDialog OpenDialog1;

private:
    void setRadio(QRadioButton* button, bool checked);
    void browse(QLineEdit* edit);

    QButtonGroup* soundModes_;
};

extern TFormOptions* FormOptions;
