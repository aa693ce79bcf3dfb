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
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <tuple>

TFormOptions* FormOptions = nullptr;

namespace {

template <typename Control> Control* hinted(Control* control, const QString& hint) {
    control->setToolTip(hint);
    return control;
}

} // namespace

TFormOptions::TFormOptions(QWidget* parent)
    : FixedDialog(parent, {443, 216}), OpenDialog1(tr("WAV files|*.wav|All files|*.*")) {
    FormOptions = this;
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(tr("Options"));

    GroupBox1 = named(new QGroupBox(tr("Options"), this), QStringLiteral("GroupBox1"));
    CheckBox1 = hinted(
        named(new QCheckBox(tr("Skip splash screens"), GroupBox1), QStringLiteral("CheckBox1")),
        tr("Skip ZAM Startup screens"));
    CheckBox2 =
        hinted(named(new QCheckBox(tr("Run windowed"), GroupBox1), QStringLiteral("CheckBox2")),
               tr("Run ZAM in a window"));
    CheckBox3 = hinted(named(new QCheckBox(tr("Close launcher after launch"), GroupBox1),
                             QStringLiteral("CheckBox3")),
                       tr("Close launcher when ZAM is launcher"));

    GroupBox2 = named(new QGroupBox(tr("Watcher Sounds"), this), QStringLiteral("GroupBox2"));
    sounds1 =
        hinted(named(new QRadioButton(tr("Disable sounds"), GroupBox2), QStringLiteral("sounds1")),
               tr("Disable serveratcher sounds"));
    sounds2 = hinted(
        named(new QRadioButton(tr("Use default sounds"), GroupBox2), QStringLiteral("sounds2")),
        tr("Use default serveratcher sounds"));
    sounds3 =
        hinted(named(new QRadioButton(tr("Custom sounds:"), GroupBox2), QStringLiteral("sounds3")),
               tr("Use custom serverwatcher sounds"));
    Label1 = namedLabel(GroupBox2, QStringLiteral("Label1"), tr("New game sound"));
    sound1 = hinted(named(new QLineEdit(GroupBox2), QStringLiteral("sound1"), 161),
                    tr("Wav file to play when a new game on a server is starting"));
    Button2 = named(new QPushButton(QStringLiteral("..."), GroupBox2), QStringLiteral("Button2"));
    Label2 = namedLabel(GroupBox2, QStringLiteral("Label2"), tr("Players sound"));
    sound2 = hinted(named(new QLineEdit(GroupBox2), QStringLiteral("sound2"), 161),
                    tr("Wav file to play when a player joins into an empty server"));
    Button1 = named(new QPushButton(QStringLiteral("..."), GroupBox2), QStringLiteral("Button1"));

    Friends = named(new FriendOptions(this), QStringLiteral("Friends"));
    BitBtn2 = named(glyphButton(this, tr("&OK"), QStyle::SP_DialogOkButton),
                    QStringLiteral("BitBtn2"), 89);
    BitBtn2->setDefault(true);
    BitBtn1 = named(glyphButton(this, tr("&Cancel"), QStyle::SP_DialogCancelButton),
                    QStringLiteral("BitBtn1"), 89);

    // Check boxes and radio buttons as wide as their captions: a click beside
    // a caption is not a click on it.
    auto* options = new QVBoxLayout(GroupBox1);
    for (QCheckBox* option : {CheckBox1, CheckBox2, CheckBox3})
        options->addWidget(option, 0, Qt::AlignLeft);
    auto* sounds = new QVBoxLayout(GroupBox2);
    for (QRadioButton* mode : {sounds1, sounds2, sounds3})
        sounds->addWidget(mode, 0, Qt::AlignLeft);
    // A sound's file indented under its caption, with its "..." beside it.
    for (const auto& [caption, file, choose] :
         {std::tuple{Label1, sound1, Button2}, std::tuple{Label2, sound2, Button1}}) {
        sounds->addWidget(caption);
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->addSpacing(8);
        row->addWidget(file, 1);
        row->addWidget(choose);
        sounds->addLayout(row);
    }
    sounds->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox1);
    left->addWidget(Friends);
    left->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(GroupBox2, 1);
    // Below the others, as wide as both.
    internetServers = new InternetServersGroup(this);
    auto* column = new QVBoxLayout(this);
    column->addLayout(columns);
    column->addWidget(internetServers);
    column->addLayout(buttons);

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
