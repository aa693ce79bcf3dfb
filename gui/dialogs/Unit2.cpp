#include "dialogs/Unit2.h"

#include "dialogs/EditableCombo.h"
#include "settings/EntryId.h"
#include "settings/TableEdits.h"
#include "windows/FormActivation.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"
#include "windows/Prompts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : FixedDialog(parent, {291, 203}) {
    Form2 = this;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(tr("Modifications"));

    ModList = named(new QComboBox(this), QStringLiteral("ModList"), 129);
    Label8 = namedLabel(this, QStringLiteral("Label8"), tr("Select mod or enter new"));
    GroupBox1 = named(new QGroupBox(this), QStringLiteral("GroupBox1"));
    Label1 = namedLabel(GroupBox1, QStringLiteral("Label1"), tr("Mod name:"));
    Name = named(new QLineEdit(GroupBox1), QStringLiteral("Name"), 241);
    Label2 = namedLabel(GroupBox1, QStringLiteral("Label2"), tr("Mod directory name:"));
    Dir = named(new QLineEdit(GroupBox1), QStringLiteral("Dir"), 241);
    BitBtn2 = named(glyphButton(GroupBox1, tr("&Save"), QStyle::SP_DialogOkButton),
                    QStringLiteral("BitBtn2"), 89);
    BitBtn2->setDefault(true);
    BitBtn1 = named(glyphButton(GroupBox1, tr("Delete"), QStyle::SP_DialogCancelButton),
                    QStringLiteral("BitBtn1"), 89);

    auto* choice = new QHBoxLayout;
    choice->addWidget(ModList, 1);
    choice->addWidget(Label8);
    auto* fields = new QVBoxLayout(GroupBox1);
    for (QWidget* field : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Name),
                           static_cast<QWidget*>(Label2), static_cast<QWidget*>(Dir)})
        fields->addWidget(field);
    fields->addSpacing(fields->spacing() * 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    fields->addLayout(buttons);
    auto* column = new QVBoxLayout(this);
    column->addLayout(choice);
    column->addWidget(GroupBox1, 1);

    // Room for the first characters of a name, in the desktop's font.
    ModList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ModList->setMinimumContentsLength(16);
    makeEditableDropDown(ModList, guardedHandler(this, &TForm2::ModListChange));
    connect(BitBtn2, &QPushButton::clicked, this, guardedHandler(this, &TForm2::BitBtn2Click));
    connect(BitBtn1, &QPushButton::clicked, this, guardedHandler(this, &TForm2::BitBtn1Click));
    new FormActivation(this, guardedHandler(this, &TForm2::FormActivate));
}

void TForm2::FormActivate() {
    ModList->clear();
    for (int k = 0; k <= state_.mods.Last; ++k)
        ModList->addItem(state_.mods.Name[k]);
    ModList->setCurrentIndex(0);
    UpdateModFields();
}

void TForm2::ModListChange() {
    UpdateModFields();
}

void TForm2::UpdateModFields() {
    const int k = ModList->currentIndex();
    if (k >= 0) {
        Name->setText(state_.mods.Name[k]);
        Dir->setText(state_.mods.Dir[k]);
    } else {
        Name->setText(ModList->currentText());
        Dir->clear();
    }
}

// Save: a new entry when no list entry is selected, else the selected one.
void TForm2::BitBtn2Click() {
    int k = ModList->currentIndex();
    if (k < 0)
        k = addModEntry(state_.mods, clockSeed());
    if (k < 0) {
        Prompts::instance().information(
            this, tr("The mod list is full. Delete a mod before adding another."));
        return;
    }
    state_.mods.Name[k] = Name->text();
    state_.mods.Dir[k] = Dir->text();
    saveAndReload();
}

void TForm2::BitBtn1Click() {
    if (!Prompts::instance().confirm(this, tr("Are you sure?")))
        return;
    deleteModEntry(state_.mods, ModList->currentIndex());
    saveAndReload();
}

// The store is the truth: write it, load it back and show it afresh.
void TForm2::saveAndReload() {
    state_.save();
    state_.load();
    FormActivate();
}
