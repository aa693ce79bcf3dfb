#include "dialogs/Unit7.h"

#include "dialogs/FriendOptions.h"
#include "dialogs/InternetServersGroup.h"
#include "settings/Tables.h"
#include "windows/FormActivation.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

TFormOptions* FormOptions = nullptr;

namespace {

template <typename Control> Control* hinted(Control* control, const QString& hint) {
    control->setToolTip(hint);
    return control;
}

} // namespace

TFormOptions::TFormOptions(QWidget* parent)
    : FixedDialog(parent, {443, 216}),
      OpenDialog1(QStringLiteral("WAV files|*.wav|All files|*.*")) {
    FormOptions = this;
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Options"));

    GroupBox1 = placed(new QGroupBox(QStringLiteral("Options"), this), QStringLiteral("GroupBox1"),
                       8, 8, 193, 105);
    CheckBox1 = hinted(placed(new QCheckBox(QStringLiteral("Skip splash screens"), GroupBox1),
                              QStringLiteral("CheckBox1"), 16, 24, 153, 17),
                       QStringLiteral("Skip ZAM Startup screens"));
    CheckBox2 = hinted(placed(new QCheckBox(QStringLiteral("Run windowed"), GroupBox1),
                              QStringLiteral("CheckBox2"), 16, 48, 153, 17),
                       QStringLiteral("Run ZAM in a window"));
    CheckBox3 =
        hinted(placed(new QCheckBox(QStringLiteral("Close launcher after launch"), GroupBox1),
                      QStringLiteral("CheckBox3"), 16, 72, 161, 17),
               QStringLiteral("Close launcher when ZAM is launcher"));

    GroupBox2 = placed(new QGroupBox(QStringLiteral("Watcher Sounds"), this),
                       QStringLiteral("GroupBox2"), 216, 8, 217, 193);
    sounds1 = hinted(placed(new QRadioButton(QStringLiteral("Disable sounds"), GroupBox2),
                            QStringLiteral("sounds1"), 16, 24, 121, 17),
                     QStringLiteral("Disable serveratcher sounds"));
    sounds2 = hinted(placed(new QRadioButton(QStringLiteral("Use default sounds"), GroupBox2),
                            QStringLiteral("sounds2"), 16, 48, 129, 17),
                     QStringLiteral("Use default serveratcher sounds"));
    sounds3 = hinted(placed(new QRadioButton(QStringLiteral("Custom sounds:"), GroupBox2),
                            QStringLiteral("sounds3"), 16, 72, 137, 17),
                     QStringLiteral("Use custom serverwatcher sounds"));
    Label1 =
        placedLabel(GroupBox2, QStringLiteral("Label1"), QStringLiteral("New game sound"), 16, 96);
    sound1 = hinted(placed(new QLineEdit(GroupBox2), QStringLiteral("sound1"), 24, 112, 161, 21),
                    QStringLiteral("Wav file to play when a new game on a server is starting"));
    Button2 = placed(new QPushButton(QStringLiteral("..."), GroupBox2), QStringLiteral("Button2"),
                     184, 112, 17, 21);
    Label2 =
        placedLabel(GroupBox2, QStringLiteral("Label2"), QStringLiteral("Players sound"), 16, 136);
    sound2 = hinted(placed(new QLineEdit(GroupBox2), QStringLiteral("sound2"), 24, 152, 161, 21),
                    QStringLiteral("Wav file to play when a player joins into an empty server"));
    Button1 = placed(new QPushButton(QStringLiteral("..."), GroupBox2), QStringLiteral("Button1"),
                     184, 152, 17, 21);

    Friends = placed(new FriendOptions(this), QStringLiteral("Friends"), 8, 116, 193, 54);
    BitBtn2 = placed(glyphButton(this, QStringLiteral("&OK"), QStyle::SP_DialogOkButton),
                     QStringLiteral("BitBtn2"), 8, 176, 89, 25);
    BitBtn2->setDefault(true);
    BitBtn1 = placed(glyphButton(this, QStringLiteral("&Cancel"), QStyle::SP_DialogCancelButton),
                     QStringLiteral("BitBtn1"), 112, 176, 89, 25);

    // Below the others, as tall as its fields need.
    internetServers = new InternetServersGroup(this);
    internetServers->setGeometry(8, 208, 425, internetServers->sizeHint().height());
    setFixedSize(width(), internetServers->geometry().bottom() + 9);

    for (QWidget* captioned : {static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2),
                               static_cast<QWidget*>(CheckBox3), static_cast<QWidget*>(sounds1),
                               static_cast<QWidget*>(sounds2), static_cast<QWidget*>(sounds3)})
        widenToCaption(captioned);

    // One exclusive group: a button going from unchecked to checked unchecks
    // the others and raises its click event; checking a checked one raises
    // nothing.
    soundModes_ = new QButtonGroup(this);
    const std::pair<QRadioButton*, void (TFormOptions::*)()> modes[] = {
        {sounds1, &TFormOptions::sounds1Click},
        {sounds2, &TFormOptions::sounds2Click},
        {sounds3, &TFormOptions::sounds3Click}};
    for (const auto& [button, click] : modes) {
        soundModes_->addButton(button);
        connect(button, &QRadioButton::toggled, this,
                [handler = guardedHandler(this, click)](bool checked) {
                    if (checked)
                        handler();
                });
    }
    connect(Button2, &QPushButton::clicked, this,
            guardedHandler(this, &TFormOptions::Button2Click));
    connect(Button1, &QPushButton::clicked, this,
            guardedHandler(this, &TFormOptions::Button1Click));
    connect(BitBtn2, &QPushButton::clicked, this,
            guardedHandler(this, &TFormOptions::BitBtn2Click));
    connect(BitBtn1, &QPushButton::clicked, this,
            guardedHandler(this, &TFormOptions::BitBtn1Click));
    new FormActivation(this, guardedHandler(this, &TFormOptions::FormActivate));
}

void TFormOptions::FormActivate() {
    CheckBox1->setChecked(state_.settings.SkipSplash);
    CheckBox2->setChecked(state_.settings.Windowed);
    CheckBox3->setChecked(state_.settings.CloseAfterLaunch);
    setRadio(sounds1, state_.settings.SoundMode == 0);
    setRadio(sounds2, state_.settings.SoundMode == 1);
    setRadio(sounds3, state_.settings.SoundMode == 2);
    sound1->setText(state_.settings.Sound1);
    sound2->setText(state_.settings.Sound2);
    Friends->showSettings(state_.friends);
    internetServers->showSettings(state_.masters);
}

// Unchecking goes around the group's exclusivity, which would otherwise keep
// one button checked; a stored mode outside 0 to 2 checks none.
void TFormOptions::setRadio(QRadioButton* button, bool checked) {
    if (checked || !button->isChecked()) {
        button->setChecked(checked);
        return;
    }
    soundModes_->setExclusive(false);
    button->setChecked(false);
    soundModes_->setExclusive(true);
}

void TFormOptions::sounds1Click() {
    UpdateJuttu();
}

void TFormOptions::sounds2Click() {
    UpdateJuttu();
}

void TFormOptions::sounds3Click() {
    UpdateJuttu();
}

void TFormOptions::UpdateJuttu() {
    const bool custom = !(sounds1->isChecked() || sounds2->isChecked());
    for (QWidget* control : {static_cast<QWidget*>(sound1), static_cast<QWidget*>(sound2),
                             static_cast<QWidget*>(Button2), static_cast<QWidget*>(Button1)})
        control->setEnabled(custom);
}

void TFormOptions::Button2Click() {
    browse(sound1);
}

void TFormOptions::Button1Click() {
    browse(sound2);
}

// A cancelled dialog leaves the edit as it was.
void TFormOptions::browse(QLineEdit* edit) {
    if (OpenDialog1.Execute(this))
        edit->setText(OpenDialog1.FileName);
}

void TFormOptions::BitBtn2Click() {
    state_.settings.SkipSplash = CheckBox1->isChecked();
    state_.settings.Windowed = CheckBox2->isChecked();
    state_.settings.CloseAfterLaunch = CheckBox3->isChecked();
    state_.settings.Sound1 = sound1->text();
    state_.settings.Sound2 = sound2->text();
    if (sounds1->isChecked())
        state_.settings.SoundMode = 0;
    if (sounds2->isChecked())
        state_.settings.SoundMode = 1;
    if (sounds3->isChecked())
        state_.settings.SoundMode = 2;
    Friends->storeSettings(state_.friends);
    internetServers->storeSettings(state_.masters);
    state_.save();
    close();
}

void TFormOptions::BitBtn1Click() {
    close();
}
