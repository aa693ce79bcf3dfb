#include "browser/Unit4.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(QWidget* parent) : QWidget(parent) {
    Form4 = this;
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Servers"));
}
