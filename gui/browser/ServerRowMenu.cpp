#include "browser/ServerRowMenu.h"

#include "browser/ServerGrid.h"
#include "browser/ServerSource.h"
#include "browser/Unit4.h"
#include "windows/ErrorReport.h"

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
    const ServerTable& servers = browser_->shownServers();
    if (slot < 0 || slot > servers.Last)
        return;
    grid->selectRow(slot);
    QMenu menu(grid);
    menu.setObjectName(QStringLiteral("ServerRowMenu"));
    menu.addAction(tr("Join"), browser_->BitBtn1, &QPushButton::click);
    menu.addAction(tr("Watch"), browser_->BitBtn3, &QPushButton::click);
    ServerSource* source = browser_->source();
    const QString address = source->showsInternet()
                                ? source->address(slot)
                                : servers.Host[slot] + u':' + servers.Port[slot];
    menu.addAction(tr("Copy address"), grid,
                   [address] { QGuiApplication::clipboard()->setText(address); });
    if (source->showsInternet())
        menu.addAction(tr("Add to my servers"), source,
                       [source, slot] { guarded(source, [&] { source->addToMyServers(slot); }); });
    menu.exec(grid->viewport()->mapToGlobal(position));
}
