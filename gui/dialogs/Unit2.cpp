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
#include <QLineEdit>

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : FixedDialog(parent, {291, 203}) {
    Form2 = this;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Modifications"));

    ModList = placed(new QComboBox(this), QStringLiteral("ModList"), 16, 8, 129, 21);
    Label8 = placedLabel(this, QStringLiteral("Label8"), QStringLiteral("Select mod or enter new"),
                         152, 8);
    GroupBox1 = placed(new QGroupBox(this), QStringLiteral("GroupBox1"), 8, 40, 273, 153);
    Label1 = placedLabel(GroupBox1, QStringLiteral("Label1"), QStringLiteral("Mod name:"), 16, 16);
    Name = placed(new QLineEdit(GroupBox1), QStringLiteral("Name"), 16, 32, 241, 21);
    Label2 = placedLabel(GroupBox1, QStringLiteral("Label2"), QStringLiteral("Mod directory name:"),
                         16, 56);
    Dir = placed(new QLineEdit(GroupBox1), QStringLiteral("Dir"), 16, 72, 241, 21);
    BitBtn2 = placed(glyphButton(GroupBox1, QStringLiteral("&Save"), QStyle::SP_DialogOkButton),
                     QStringLiteral("BitBtn2"), 24, 112, 89, 25);
    BitBtn2->setDefault(true);
    BitBtn1 = placed(glyphButton(this, QStringLiteral("Delete"), QStyle::SP_DialogCancelButton),
                     QStringLiteral("BitBtn1"), 168, 152, 89, 25);

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
            this, QStringLiteral("The mod list is full. Delete a mod before adding another."));
        return;
    }
    state_.mods.Name[k] = Name->text();
    state_.mods.Dir[k] = Dir->text();
    saveAndReload();
}

void TForm2::BitBtn1Click() {
    if (!Prompts::instance().confirm(this, QStringLiteral("Are you sure?")))
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
