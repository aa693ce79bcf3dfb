#include "dialogs/Unit7.h"

TFormOptions* FormOptions = nullptr;

TFormOptions::TFormOptions(QWidget* parent) : QWidget(parent) {
    FormOptions = this;
    setObjectName(QStringLiteral("FormOptions"));
    setWindowTitle(QStringLiteral("Options"));
}
