// TForm3, the servers editor: adds, changes and deletes the saved servers.
#pragma once

#include "dialogs/FixedDialog.h"
#include "settings/TableEdits.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The servers editor: adds, changes and deletes the saved servers with their
// mods, password and implementation. It keeps no data of its own; every
// change is saved and reloaded at once.
class TForm3 : public FixedDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    void FormActivate();
    void ServerListChange();
    void BitBtn1Click();
    void BitBtn2Click();
    void UpdateServerFields();
    // Saves entry as a new server, as Save does for a name typed in; false
    // when the list is full, which the user is told.
    bool addServer(const ServerEntry& entry);

    QLabel* Label8;
    QComboBox* ServerList;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* name;
    QLabel* Label2;
    QLineEdit* host;
    QLabel* Label3;
    QLineEdit* port;
    QLabel* Label5;
    QLineEdit* pass;
    QLabel* Label6;
    QComboBox* impl;
    QLabel* Label4;
    QListWidget* modlistb;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    void copyModItems();
    bool saveServer(int k, const ServerEntry& entry);
    void saveAndReload();
};

extern TForm3* Form3;
