#include "browser/ServerRowMenu.h"

#include "browser/Unit4.h"
#include "state/LauncherState.h"
#include "windows/GuardedHandler.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTableWidget>

ServerRowMenu::ServerRowMenu(QTableWidget* grid, TForm4* browser)
    : QObject(browser), grid_(grid), browser_(browser) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            guardedHandler(browser, this, &ServerRowMenu::open));
}

void ServerRowMenu::open(const QPoint& position) {
    const int slot = grid_->rowAt(position.y());
    const ServerTable& servers = LauncherState::instance().servers;
    if (slot < 0 || slot > servers.Last)
        return;
    grid_->selectRow(slot);
    address_ = servers.Host[slot] + u':' + servers.Port[slot];
    QMenu menu(grid_);
    menu.setObjectName(QStringLiteral("ServerRowMenu"));
    menu.addAction(QStringLiteral("Join"), browser_,
                   guardedHandler(browser_, &TForm4::joinSelected));
    menu.addAction(QStringLiteral("Watch"), browser_,
                   guardedHandler(browser_, &TForm4::watchSelected));
    menu.addAction(QStringLiteral("Copy address"), this,
                   guardedHandler(browser_, this, &ServerRowMenu::copyAddress));
    menu.exec(grid_->viewport()->mapToGlobal(position));
}

void ServerRowMenu::copyAddress() {
    QGuiApplication::clipboard()->setText(address_);
}
