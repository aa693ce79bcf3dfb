#pragma once

#include <QGroupBox>

class QLineEdit;
struct MasterSettings;

// The options dialog's "Internet servers" group: the master servers, the
// game name and the key sent to them. Empty fields leave the internet list
// off. The dialog shows the settings on activation and stores them on OK.
class InternetServersGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit InternetServersGroup(QWidget* parent);

    void showSettings(const MasterSettings& settings);
    void storeSettings(MasterSettings& settings) const;

    QLineEdit* masters;
    QLineEdit* game;
    QLineEdit* key;
};
