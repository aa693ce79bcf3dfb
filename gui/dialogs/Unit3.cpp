#include "dialogs/Unit3.h"

#include "dialogs/EditableCombo.h"
#include "dialogs/LanServerList.h"
#include "settings/ModsText.h"
#include "windows/FormActivation.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"
#include "windows/Prompts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <iterator>

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : FixedDialog(parent, {425, 233}) {
    Form3 = this;
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(tr("Servers"));

    ServerList = named(new QComboBox(this), QStringLiteral("ServerList"), 137);
    Label8 = namedLabel(this, QStringLiteral("Label8"), tr("Select server or enter new"));
    GroupBox1 = named(new QGroupBox(this), QStringLiteral("GroupBox1"));
    QWidget* group = GroupBox1;
    Label1 = namedLabel(group, QStringLiteral("Label1"), tr("Server name:"));
    name = named(new QLineEdit(group), QStringLiteral("name"), 241);
    Label2 = namedLabel(group, QStringLiteral("Label2"), tr("Server hostname/IP:"));
    host = named(new QLineEdit(group), QStringLiteral("host"), 153);
    Label3 = namedLabel(group, QStringLiteral("Label3"), tr("Port:"));
    port = named(new QLineEdit(group), QStringLiteral("port"), 81);
    Label5 = namedLabel(group, QStringLiteral("Label5"), tr("Password:"));
    pass = named(new QLineEdit(group), QStringLiteral("pass"), 153);
    Label6 = namedLabel(group, QStringLiteral("Label6"), tr("Implementation:"));
    impl = named(new QComboBox(group), QStringLiteral("impl"), 81);
    impl->addItems({tr("Sockets"), tr("DirectPlay")});
    Label4 = namedLabel(group, QStringLiteral("Label4"), tr("Mods to use on server:"));
    modlistb = named(new QListWidget(group), QStringLiteral("modlistb"), 121);
    modlistb->setMinimumHeight(137);
    BitBtn1 = named(glyphButton(group, tr("&Save"), QStyle::SP_DialogOkButton),
                    QStringLiteral("BitBtn1"), 89);
    BitBtn1->setDefault(true);
    BitBtn2 = named(glyphButton(group, tr("Delete"), QStyle::SP_DialogCancelButton),
                    QStringLiteral("BitBtn2"), 89);

    // The entry's fields in two columns on the left, its mods on the right.
    auto* fields = new QGridLayout(group);
    QWidget* const cells[][2] = {{Label1, nullptr}, {name, nullptr},  {Label2, Label3},
                                 {host, port},      {Label5, Label6}, {pass, impl}};
    for (int row = 0; row < int(std::size(cells)); ++row) {
        if (!cells[row][1])
            fields->addWidget(cells[row][0], row, 0, 1, 2);
        else
            for (int column = 0; column < 2; ++column)
                fields->addWidget(cells[row][column], row, column);
    }
    fields->setRowMinimumHeight(int(std::size(cells)), fields->spacing() * 2);
    fields->addWidget(BitBtn1, int(std::size(cells)) + 1, 0, Qt::AlignLeft);
    fields->addWidget(BitBtn2, int(std::size(cells)) + 1, 1, Qt::AlignLeft);
    fields->setRowStretch(int(std::size(cells)), 1);
    fields->setColumnMinimumWidth(2, 8);
    fields->addWidget(Label4, 0, 3);
    fields->addWidget(modlistb, 1, 3, int(std::size(cells)) + 1, 1);

    auto* lan = new LanServerList(this);
    auto* choice = new QHBoxLayout;
    choice->addWidget(ServerList, 1);
    choice->addWidget(Label8);
    choice->addStretch(1);
    choice->addWidget(lan->findButton());
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(GroupBox1, 1);
    column->addWidget(lan->summary());
    column->addWidget(lan->list());

    // Room for the first characters of a name, in the desktop's font.
    ServerList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ServerList->setMinimumContentsLength(16);
    makeEditableDropDown(ServerList, guardedHandler(this, &TForm3::ServerListChange));
    makeEditableDropDown(impl);
    connect(BitBtn1, &QPushButton::clicked, this, guardedHandler(this, &TForm3::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guardedHandler(this, &TForm3::BitBtn2Click));
    new FormActivation(this, guardedHandler(this, &TForm3::FormActivate));
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
            this, tr("The server list is full. Delete a server before adding another."));
        return false;
    }
    FormActivate();
    return true;
}

void TForm3::BitBtn2Click() {
    if (!Prompts::instance().confirm(this, tr("Are you sure?")))
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
