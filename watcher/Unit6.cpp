#include "watcher/Unit6.h"

TFormWatcher* FormWatcher = nullptr;

TFormWatcher::TFormWatcher(QWidget* parent) : QWidget(parent) {
    FormWatcher = this;
    setObjectName(QStringLiteral("FormWatcher"));
    setWindowTitle(QStringLiteral("Server Watcher"));
}
