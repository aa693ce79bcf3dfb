#include "dialogs/FriendOptions.h"

#include "dialogs/FriendsEditor.h"
#include "friends/FriendAlerts.h"
#include "settings/FriendSettings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

FriendOptions::FriendOptions(QWidget* parent) : QGroupBox(tr("Friends"), parent) {
    setObjectName(QStringLiteral("FriendOptions"));
    CheckSeconds = new QSpinBox(this);
    CheckSeconds->setObjectName(QStringLiteral("CheckSeconds"));
    CheckSeconds->setRange(0, 24 * 60 * 60);
    CheckSeconds->setSingleStep(FriendSettings::MinCheckSeconds);
    CheckSeconds->setSuffix(tr(" s"));
    CheckSeconds->setSpecialValueText(tr("never"));
    CheckSeconds->setToolTip(tr("How often the launcher looks for your friends on the saved "
                                "servers while it runs (at least every %1 seconds)")
                                 .arg(FriendSettings::MinCheckSeconds));
    auto* label = new QLabel(tr("&Every"), this);
    label->setBuddy(CheckSeconds);
    auto* edit = new QPushButton(tr("&Edit..."), this);
    edit->setObjectName(QStringLiteral("EditFriends"));
    edit->setToolTip(tr("Add, rename and delete friends"));
    connect(edit, &QPushButton::clicked, this, [this] {
        FriendsEditor* editor = FriendsEditor::of(parentWidget());
        editor->show();
        editor->raise();
        editor->activateWindow();
    });
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 4);
    layout->addWidget(label);
    layout->addWidget(CheckSeconds, 1);
    layout->addWidget(edit);
}

void FriendOptions::showSettings(const FriendSettings& friends) {
    CheckSeconds->setValue(friends.CheckSeconds);
}

void FriendOptions::storeSettings(FriendSettings& friends) const {
    const int seconds = CheckSeconds->value();
    friends.CheckSeconds = seconds == 0 ? 0 : std::max(seconds, FriendSettings::MinCheckSeconds);
    FriendAlerts::instance().announceFriendsChanged();
}
