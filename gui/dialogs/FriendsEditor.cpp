#include "dialogs/FriendsEditor.h"

#include "friends/FriendAlerts.h"
#include "friends/FriendListEdits.h"
#include "settings/EntryId.h"
#include "settings/TableEdits.h"
#include "state/LauncherState.h"
#include "windows/GuardedHandler.h"
#include "windows/Prompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

FriendsEditor::FriendsEditor(QWidget* parent) : QDialog(parent), state_(LauncherState::instance()) {
    setObjectName(QStringLiteral("FriendsEditor"));
    setWindowTitle(tr("Friends"));
    FriendList = new QListWidget(this);
    FriendList->setObjectName(QStringLiteral("FriendList"));
    FriendName = new QLineEdit(this);
    FriendName->setObjectName(QStringLiteral("FriendName"));
    FriendName->setPlaceholderText(tr("Player name"));
    auto* nameLabel = new QLabel(tr("&Name:"), this);
    nameLabel->setBuddy(FriendName);
    AddButton = new QPushButton(tr("&Add"), this);
    AddButton->setObjectName(QStringLiteral("AddButton"));
    AddButton->setDefault(true);
    RenameButton = new QPushButton(tr("&Rename"), this);
    RenameButton->setObjectName(QStringLiteral("RenameButton"));
    DeleteButton = new QPushButton(tr("&Delete"), this);
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(FriendList, 0, 0, 4, 2);
    layout->addWidget(AddButton, 0, 2);
    layout->addWidget(RenameButton, 1, 2);
    layout->addWidget(DeleteButton, 2, 2);
    layout->addWidget(nameLabel, 4, 0);
    layout->addWidget(FriendName, 4, 1);
    layout->addWidget(close, 5, 0, 1, 3);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(1, 1);

    connect(AddButton, &QPushButton::clicked, this, guardedHandler(this, &FriendsEditor::addClick));
    connect(RenameButton, &QPushButton::clicked, this,
            guardedHandler(this, &FriendsEditor::renameClick));
    connect(DeleteButton, &QPushButton::clicked, this,
            guardedHandler(this, &FriendsEditor::deleteClick));
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FriendList, &QListWidget::currentRowChanged, this, &FriendsEditor::selectionChanged);
    connect(FriendName, &QLineEdit::textChanged, this, &FriendsEditor::updateButtons);
    connect(&FriendAlerts::instance(), &FriendAlerts::friendsChanged, this,
            [this] { showFriends(FriendList->currentRow()); });
    connect(&state_, &LauncherState::reloaded, this, [this] { showFriends(-1); });
}

FriendsEditor* FriendsEditor::of(QWidget* owner) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* editor = qobject_cast<FriendsEditor*>(window))
            return editor;
    return new FriendsEditor(owner);
}

void FriendsEditor::showEvent(QShowEvent* event) {
    showFriends(FriendList->currentRow());
    QDialog::showEvent(event);
}

void FriendsEditor::showFriends(int selectSlot) {
    const FriendTable& friends = state_.friends.table;
    const QSignalBlocker quiet(FriendList);
    FriendList->clear();
    for (int k = 0; k <= friends.Last; ++k)
        FriendList->addItem(friends.Name[k]);
    FriendList->setCurrentRow(std::min(selectSlot, friends.Last));
    selectionChanged();
}

void FriendsEditor::selectionChanged() {
    if (const QListWidgetItem* item = FriendList->currentItem())
        FriendName->setText(item->text());
    updateButtons();
}

void FriendsEditor::updateButtons() {
    const bool named = !FriendName->text().trimmed().isEmpty();
    const bool selected = FriendList->currentRow() >= 0;
    AddButton->setEnabled(named && state_.friends.table.Last < SLOT_COUNT - 1);
    RenameButton->setEnabled(named && selected);
    DeleteButton->setEnabled(selected);
}

// A name listed already is selected instead of listed twice.
void FriendsEditor::addClick() {
    FriendTable& friends = state_.friends.table;
    const int listed = findFriend(friends, FriendName->text());
    if (listed >= 0) {
        FriendList->setCurrentRow(listed);
        return;
    }
    const int slot = addFriend(friends, FriendName->text(), clockSeed());
    if (slot < 0)
        return;
    changed(slot);
}

void FriendsEditor::renameClick() {
    FriendTable& friends = state_.friends.table;
    const int slot = FriendList->currentRow();
    const QString name = FriendName->text().trimmed();
    if (slot < 0 || slot > friends.Last || name.isEmpty())
        return;
    const int listed = findFriend(friends, name);
    if (listed >= 0 && listed != slot) {
        tell(tr("%1 is listed already.").arg(friends.Name[listed]));
        return;
    }
    friends.Name[slot] = name;
    changed(slot);
}

void FriendsEditor::deleteClick() {
    const int slot = FriendList->currentRow();
    if (slot < 0 || !Prompts::instance().confirm(this, tr("Are you sure?")))
        return;
    deleteFriendEntry(state_.friends.table, slot);
    changed(slot);
}

void FriendsEditor::changed(int selectSlot) {
    showFriends(selectSlot);
    FriendAlerts::instance().announceFriendsChanged();
    state_.save();
}

void FriendsEditor::tell(const QString& text) {
    Prompts::instance().information(this, text);
}
