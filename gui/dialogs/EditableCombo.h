#pragma once

#include <functional>

class QComboBox;

// Makes a combo box an editable drop-down as the dialogs use it: typing
// leaves no entry selected while keeping the typed text, and each keystroke
// and each entry the user picks raises `changed` once (when given). Enter
// neither adds an entry nor picks the entry whose text was typed.
void makeEditableDropDown(QComboBox* combo, std::function<void()> changed = {});
