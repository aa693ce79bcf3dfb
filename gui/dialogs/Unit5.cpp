#include "dialogs/Unit5.h"

#include "windows/GuardedHandler.h"
#include "windows/WindowFit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutDialog* AboutDialog = nullptr;

TAboutDialog::TAboutDialog(QWidget* parent) : QDialog(parent) {
    AboutDialog = this;
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/resources/icon.png"))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ProductName = new QLabel(tr("<b>ZAM Launcher</b>"), this);
    Version = new QLabel(tr("Version 2.16"), this);
    Comments = new QLabel(tr("Keeps your mods and favourite servers and starts ZAM "
                             "the way you want to play."),
                          this);
    Comments->setWordWrap(true);
    OKBtn = new QPushButton(tr("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, guardedHandler(this, &TAboutDialog::OKBtnClick));

    auto* text = new QVBoxLayout;
    text->addWidget(ProductName);
    text->addWidget(Version);
    text->addWidget(Comments);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(OKBtn, 0, Qt::AlignHCenter);
    new WindowFit(this, {300, 150});
}

void TAboutDialog::OKBtnClick() {
    close();
}
