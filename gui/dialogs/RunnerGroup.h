#pragma once

#include "settings/RunnerSettings.h"
#include "windows/Prompts.h"

#include <QGroupBox>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The options dialog's "Run Windows games with" group: Wine with its
// program or Proton with its folder (the versions Steam installed offered
// in a combo box), and the launch options. It edits a copy: showSettings()
// fills the controls, chosen() reads them back.
class RunnerGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RunnerGroup(QWidget* parent);

    // Fills the controls and lists the Proton folders found under home.
    void showSettings(const RunnerSettings& runner, const QString& home);
    // The controls' settings; a stored runner this version does not know
    // stays unless the user picks one.
    RunnerSettings chosen() const;

    QRadioButton* wineButton;
    QLineEdit* winePath;
    QPushButton* wineBrowse;
    QRadioButton* protonButton;
    QLineEdit* protonFolder;
    QPushButton* protonBrowse;
    QComboBox* protonVersions;
    QLineEdit* launchOptions;

private:
    void enableChosen();

    OpenDialog wineDialog_;
    OpenDialog protonDialog_;
    qint32 shownRunner_ = RunnerSettings::Wine;
};
