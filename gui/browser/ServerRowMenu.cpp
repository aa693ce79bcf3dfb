#include "browser/ServerRowMenu.h"

#include "browser/ServerGrid.h"
#include "browser/Unit4.h"
#include "state/LauncherState.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>

ServerRowMenu::ServerRowMenu(TForm4* browser) : QObject(browser), browser_(browser) {
    browser->SGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(browser->SGrid, &QWidget::customContextMenuRequested, this, &ServerRowMenu::open);
}

void ServerRowMenu::open(const QPoint& position) {
    ServerGrid* grid = browser_->SGrid;
    const int slot = grid->rowAt(position.y());
    const ServerTable& servers = LauncherState::instance().servers;
    if (slot < 0 || slot > servers.Last)
        return;
    grid->selectRow(slot);
    QMenu menu(grid);
    menu.setObjectName(QStringLiteral("ServerRowMenu"));
    menu.addAction(QStringLiteral("Join"), browser_->BitBtn1, &QPushButton::click);
    menu.addAction(QStringLiteral("Watch"), browser_->BitBtn3, &QPushButton::click);
    const QString address = servers.Host[slot] + u':' + servers.Port[slot];
    menu.addAction(QStringLiteral("Copy address"), grid,
                   [address] { QGuiApplication::clipboard()->setText(address); });
    menu.exec(grid->viewport()->mapToGlobal(position));
}
