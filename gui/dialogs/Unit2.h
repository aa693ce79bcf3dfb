// TForm2, the mods editor: adds, changes and deletes the saved mods.
#pragma once

#include "dialogs/FixedDialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The mods editor: adds, changes and deletes the entries of the mod table.
// It keeps no data of its own; every change is saved and reloaded at once.
class TForm2 : public FixedDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    void FormActivate();
    void ModListChange();
    void BitBtn2Click();
    void BitBtn1Click();
    void UpdateModFields();

    QLabel* Label8;
    QComboBox* ModList;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Name;
    QLabel* Label2;
    QLineEdit* Dir;
    QPushButton* BitBtn2;
    QPushButton* BitBtn1;

private:
    void saveAndReload();
};

extern TForm2* Form2;
