#include "dialogs/RunnerGroup.h"

#include "launch/ProtonVersions.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QPushButton* browseButton(QWidget* parent, const QString& name, const QString& hint) {
    auto* button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

template <typename Control> Control* named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

} // namespace

RunnerGroup::RunnerGroup(QWidget* parent)
    : QGroupBox(tr("Run Windows games with"), parent),
      wineDialog_(tr("Wine program|wine*|All files|*.*")),
      protonDialog_(tr("Proton script|proton|All files|*")) {
    setObjectName(QStringLiteral("Runners"));
    wineButton = named(new QRadioButton(tr("&Wine"), this), QStringLiteral("wineButton"));
    winePath = named(new QLineEdit(this), QStringLiteral("winePath"));
    winePath->setPlaceholderText(tr("wine from PATH"));
    winePath->setToolTip(tr("The Wine program that starts the game"));
    wineBrowse = browseButton(this, QStringLiteral("wineBrowse"), tr("Choose the Wine program"));
    protonButton = named(new QRadioButton(tr("&Proton"), this), QStringLiteral("protonButton"));
    protonFolder = named(new QLineEdit(this), QStringLiteral("protonFolder"));
    protonFolder->setToolTip(tr("The Proton folder, the one holding the proton script; the game "
                                "must lie in a Proton prefix (steamapps/compatdata/<id>/pfx)"));
    protonBrowse = browseButton(this, QStringLiteral("protonBrowse"),
                                tr("Choose the proton script of a Proton folder"));
    protonVersions = named(new QComboBox(this), QStringLiteral("protonVersions"));
    protonVersions->setToolTip(tr("The Proton versions Steam installed"));
    launchOptions = named(new QLineEdit(this), QStringLiteral("launchOptions"));
    launchOptions->setToolTip(
        tr("As in Steam: %command% stands for the game's own command; leading NAME=VALUE words "
           "set environment variables, words before %command% run the game (a wrapper such as "
           "gamemoderun) and words after it are added to the game's arguments. Text without "
           "%command% is added to the game's arguments. Quotes and backslashes work as in a "
           "shell; no shell runs.\nExample: DXVK_HUD=1 gamemoderun %command% -extra"));
    auto* optionsLabel = new QLabel(tr("&Launch options:"), this);
    optionsLabel->setBuddy(launchOptions);

    auto* runners = new QButtonGroup(this);
    runners->addButton(wineButton);
    runners->addButton(protonButton);

    auto* grid = new QGridLayout(this);
    grid->addWidget(wineButton, 0, 0);
    grid->addWidget(winePath, 0, 1);
    grid->addWidget(wineBrowse, 0, 2);
    grid->addWidget(protonButton, 1, 0);
    grid->addWidget(protonFolder, 1, 1);
    grid->addWidget(protonBrowse, 1, 2);
    grid->addWidget(protonVersions, 2, 1, 1, 2);
    grid->addWidget(optionsLabel, 3, 0);
    grid->addWidget(launchOptions, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(wineButton, &QRadioButton::toggled, this, &RunnerGroup::enableChosen);
    connect(protonButton, &QRadioButton::toggled, this, &RunnerGroup::enableChosen);
    connect(wineBrowse, &QPushButton::clicked, this, [this] {
        if (wineDialog_.Execute(this))
            winePath->setText(wineDialog_.FileName);
    });
    connect(protonBrowse, &QPushButton::clicked, this, [this] {
        if (protonDialog_.Execute(this))
            protonFolder->setText(QFileInfo(protonDialog_.FileName).path());
    });
    connect(protonFolder, &QLineEdit::textChanged, this, [this](const QString& folder) {
        protonVersions->setCurrentIndex(protonVersions->findData(folder));
    });
    connect(protonVersions, &QComboBox::activated, this, [this](int index) {
        protonFolder->setText(protonVersions->itemData(index).toString());
        protonButton->setChecked(true);
    });
}

void RunnerGroup::showSettings(const RunnerSettings& runner, const QString& home) {
    shownRunner_ = runner.runner;
    // An unknown runner checks neither button.
    QButtonGroup* runners = wineButton->group();
    runners->setExclusive(false);
    wineButton->setChecked(runner.runner == RunnerSettings::Wine);
    protonButton->setChecked(runner.runner == RunnerSettings::Proton);
    runners->setExclusive(true);
    winePath->setText(runner.wine);
    launchOptions->setText(runner.launchCommand);
    protonVersions->clear();
    for (const QString& folder : findProtonFolders(home))
        protonVersions->addItem(QFileInfo(folder).fileName(), folder);
    protonFolder->setText(runner.proton);
    protonVersions->setCurrentIndex(protonVersions->findData(runner.proton));
    protonVersions->setPlaceholderText(protonVersions->count() > 0
                                           ? tr("Proton versions found in Steam")
                                           : tr("No Proton found in Steam"));
    enableChosen();
}

RunnerSettings RunnerGroup::chosen() const {
    RunnerSettings runner;
    runner.runner = wineButton->isChecked()     ? RunnerSettings::Wine
                    : protonButton->isChecked() ? RunnerSettings::Proton
                                                : shownRunner_;
    runner.wine = winePath->text();
    runner.proton = protonFolder->text();
    runner.launchCommand = launchOptions->text();
    return runner;
}

// The fields of the runner not chosen are disabled; with none chosen all
// are enabled.
void RunnerGroup::enableChosen() {
    const bool proton = protonButton->isChecked();
    const bool wine = wineButton->isChecked();
    for (QWidget* control : {static_cast<QWidget*>(winePath), static_cast<QWidget*>(wineBrowse)})
        control->setEnabled(!proton);
    for (QWidget* control :
         {static_cast<QWidget*>(protonFolder), static_cast<QWidget*>(protonBrowse),
          static_cast<QWidget*>(protonVersions)})
        control->setEnabled(!wine);
}
