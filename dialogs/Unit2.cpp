#include "dialogs/Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QWidget(parent) {
    Form2 = this;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Modifications"));
}
