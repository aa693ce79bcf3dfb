#include "dialogs/Unit3.h"

#include "dialogs/EditableCombo.h"
#include "dialogs/LanServerList.h"
#include "settings/ModsText.h"
#include "windows/FormActivation.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"
#include "windows/Prompts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : FixedDialog(parent, {425, 233}) {
    Form3 = this;
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Servers"));

    ServerList = placed(new QComboBox(this), QStringLiteral("ServerList"), 16, 8, 137, 21);
    Label8 = placedLabel(this, QStringLiteral("Label8"),
                         QStringLiteral("Select server or enter new"), 160, 8);
    GroupBox1 = placed(new QGroupBox(this), QStringLiteral("GroupBox1"), 8, 32, 409, 185);
    QWidget* group = GroupBox1;
    Label1 = placedLabel(group, QStringLiteral("Label1"), QStringLiteral("Server name:"), 16, 16);
    name = placed(new QLineEdit(group), QStringLiteral("name"), 16, 32, 241, 21);
    Label2 =
        placedLabel(group, QStringLiteral("Label2"), QStringLiteral("Server hostname/IP:"), 16, 56);
    host = placed(new QLineEdit(group), QStringLiteral("host"), 16, 72, 153, 21);
    Label3 = placedLabel(group, QStringLiteral("Label3"), QStringLiteral("Port:"), 176, 56);
    port = placed(new QLineEdit(group), QStringLiteral("port"), 176, 72, 81, 21);
    Label5 = placedLabel(group, QStringLiteral("Label5"), QStringLiteral("Password:"), 16, 96);
    pass = placed(new QLineEdit(group), QStringLiteral("pass"), 16, 112, 153, 21);
    Label6 =
        placedLabel(group, QStringLiteral("Label6"), QStringLiteral("Implementation:"), 176, 96);
    impl = placed(new QComboBox(group), QStringLiteral("impl"), 176, 112, 81, 21);
    impl->addItems({QStringLiteral("Sockets"), QStringLiteral("DirectPlay")});
    Label4 = placedLabel(group, QStringLiteral("Label4"), QStringLiteral("Mods to use on server:"),
                         272, 16);
    modlistb = placed(new QListWidget(group), QStringLiteral("modlistb"), 272, 32, 121, 137);
    BitBtn1 = placed(glyphButton(group, QStringLiteral("&Save"), QStyle::SP_DialogOkButton),
                     QStringLiteral("BitBtn1"), 16, 144, 89, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = placed(glyphButton(group, QStringLiteral("Delete"), QStyle::SP_DialogCancelButton),
                     QStringLiteral("BitBtn2"), 168, 144, 89, 25);

    makeEditableDropDown(ServerList, guardedHandler(this, &TForm3::ServerListChange));
    makeEditableDropDown(impl);
    connect(BitBtn1, &QPushButton::clicked, this, guardedHandler(this, &TForm3::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guardedHandler(this, &TForm3::BitBtn2Click));
    new FormActivation(this, guardedHandler(this, &TForm3::FormActivate));
    new LanServerList(this);
}

void TForm3::FormActivate() {
    ServerList->clear();
    for (int k = 0; k <= state_.servers.Last; ++k)
        ServerList->addItem(state_.servers.Name[k]);
    ServerList->setCurrentIndex(0);
    UpdateServerFields();
}

void TForm3::ServerListChange() {
    UpdateServerFields();
}

void TForm3::UpdateServerFields() {
    copyModItems();
    const int k = ServerList->currentIndex();
    if (k < 0) {
        name->setText(ServerList->currentText());
        host->clear();
        port->setText(QStringLiteral("2302"));
        pass->clear();
        impl->setCurrentIndex(0);
        return;
    }
    name->setText(state_.servers.Name[k]);
    host->setText(state_.servers.Host[k]);
    port->setText(state_.servers.Port[k]);
    pass->setText(state_.servers.Pass[k]);
    impl->setCurrentIndex(state_.servers.Sockets[k] ? 0 : 1);
    const QList<bool> named = modsNamedIn(state_.mods, state_.servers.Mods[k]);
    for (int m = 0; m < named.size() && m < modlistb->count(); ++m)
        if (named[m])
            modlistb->item(m)->setCheckState(Qt::Checked);
}

// The mods, all unchecked: item m stands for mod slot m.
void TForm3::copyModItems() {
    modlistb->clear();
    for (int m = 0; m <= state_.mods.Last; ++m) {
        auto* item = new QListWidgetItem(state_.mods.Name[m], modlistb);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

// Save: a new entry when no list entry is selected, else the selected one.
void TForm3::BitBtn1Click() {
    QList<bool> checked;
    for (int m = 0; m < modlistb->count(); ++m)
        checked << (modlistb->item(m)->checkState() == Qt::Checked);
    saveServer(ServerList->currentIndex(),
               {name->text(), host->text(), port->text(), pass->text(), impl->currentIndex() == 0,
                modsText(state_.mods, checked)});
}

bool TForm3::addServer(const ServerEntry& entry) {
    return saveServer(-1, entry);
}

bool TForm3::saveServer(int k, const ServerEntry& entry) {
    if (state_.saveServer(k, entry) < 0) {
        Prompts::instance().information(
            this,
            QStringLiteral("The server list is full. Delete a server before adding another."));
        return false;
    }
    FormActivate();
    return true;
}

void TForm3::BitBtn2Click() {
    if (!Prompts::instance().confirm(this, QStringLiteral("Are you sure?")))
        return;
    deleteServerEntry(state_.servers, ServerList->currentIndex());
    saveAndReload();
}

// The store is the truth: write it, load it back and show it afresh.
void TForm3::saveAndReload() {
    state_.save();
    state_.load();
    FormActivate();
}
