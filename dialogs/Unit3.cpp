#include "dialogs/Unit3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    Form3 = this;
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Servers"));
}
