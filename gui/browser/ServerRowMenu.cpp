#include "browser/ServerRowMenu.h"

#include "browser/ServerGrid.h"
#include "browser/ServerSource.h"
#include "browser/Unit4.h"
#include "windows/GuardedHandler.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

ServerRowMenu::ServerRowMenu(ServerGrid* grid, TForm4* browser)
    : QObject(browser), grid_(grid), browser_(browser) {
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            guardedHandler(browser, this, &ServerRowMenu::open));
}

void ServerRowMenu::open(const QPoint& position) {
    const int slot = grid_->rowAt(position.y());
    const ServerTable& servers = browser_->shownServers();
    if (slot < 0 || slot > servers.Last)
        return;
    grid_->selectRow(slot);
    slot_ = slot;
    ServerSource* source = browser_->source();
    address_ = source->showsInternet() ? source->address(slot)
                                       : servers.Host[slot] + u':' + servers.Port[slot];
    QMenu menu(grid_);
    menu.setObjectName(QStringLiteral("ServerRowMenu"));
    menu.addAction(tr("Join"), browser_, guardedHandler(browser_, &TForm4::joinSelected));
    menu.addAction(tr("Watch"), browser_, guardedHandler(browser_, &TForm4::watchSelected));
    menu.addAction(tr("Copy address"), this,
                   guardedHandler(browser_, this, &ServerRowMenu::copyAddress));
    if (source->showsInternet())
        menu.addAction(tr("Add to my servers"), this,
                       guardedHandler(browser_, this, &ServerRowMenu::addToMyServers));
    menu.exec(grid_->viewport()->mapToGlobal(position));
}

void ServerRowMenu::copyAddress() {
    QGuiApplication::clipboard()->setText(address_);
}

void ServerRowMenu::addToMyServers() {
    browser_->source()->addToMyServers(slot_);
}
