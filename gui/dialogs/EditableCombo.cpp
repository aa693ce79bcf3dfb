#include "dialogs/EditableCombo.h"

#include <QComboBox>
#include <QLineEdit>

void makeEditableDropDown(QComboBox* combo, std::function<void()> changed) {
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setDuplicatesEnabled(true); // keeps Enter from selecting a matching entry
    combo->setCompleter(nullptr);
    QLineEdit* edit = combo->lineEdit();
    QObject::connect(edit, &QLineEdit::textEdited, combo,
                     [combo, edit, changed](const QString& text) {
                         const int cursor = edit->cursorPosition();
                         {
                             const QSignalBlocker quiet(combo);
                             combo->setCurrentIndex(-1);
                             combo->setEditText(text);
                         }
                         edit->setCursorPosition(cursor);
                         if (changed)
                             changed();
                     });
    if (changed)
        QObject::connect(combo, &QComboBox::activated, combo, [changed] { changed(); });
}
