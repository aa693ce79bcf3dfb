#include "dialogs/LanServerList.h"

#include "dialogs/Unit3.h"
#include "windows/GridRows.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int listMinimumHeight = 134;
QStringList columns() {
    return {LanServerList::tr("Name"),    LanServerList::tr("Address"), LanServerList::tr("Impl."),
            LanServerList::tr("Players"), LanServerList::tr("Mission"), QString()};
}

} // namespace

LanServerList::LanServerList(TForm3* editor)
    : QObject(editor), editor_(editor), discovery_(new LanDiscovery(this)) {
    find_ = named(new QPushButton(tr("Find LAN servers"), editor), QStringLiteral("FindLanServers"),
                  104);
    summary_ = namedLabel(editor, QStringLiteral("LanSummary"), QString());
    list_ = named(new QTableWidget(0, int(columns().size()), editor), QStringLiteral("LanServers"));
    list_->setMinimumHeight(listMinimumHeight);
    list_->setHorizontalHeaderLabels(columns());
    list_->verticalHeader()->hide();
    fitRowsToFont(list_, 22);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    // The columns fit their contents; the mission takes what the others leave.
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    summary_->hide();
    list_->hide();
    connect(find_, &QPushButton::clicked, this,
            guardedHandler(editor, this, &LanServerList::search));
    connect(discovery_, &LanDiscovery::finished, this,
            guardedHandler(editor, this, &LanServerList::showFound));
}

void LanServerList::search() {
    find_->setEnabled(false);
    find_->setText(tr("Searching..."));
    discovery_->start();
}

void LanServerList::showFound() {
    find_->setEnabled(true);
    find_->setText(tr("Find LAN servers"));
    const QList<LanServer> found = discovery_->servers();
    summary_->setText(found.isEmpty() ? tr("No server answered on the local network.")
                                      : tr("Servers on the local network:"));
    list_->setRowCount(int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        const LanServer& server = found[row];
        const QStringList texts = {
            server.name, server.address + u':' + QString::number(server.gamePort),
            server.sockets ? tr("Sockets") : tr("DirectPlay"), server.players, server.mission};
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(texts[column]);
            list_->setItem(row, column, item);
        }
        auto* save = new QPushButton(tr("Save"));
        connect(save, &QPushButton::clicked, this,
                [server, save, handler = guardedHandler(editor_, this, &LanServerList::save)] {
                    handler(server, save);
                });
        list_->setCellWidget(row, int(texts.size()), save);
    }
    summary_->show();
    list_->show();
}

// A new entry without password or mods, saved by the editor.
void LanServerList::save(const LanServer& server, QPushButton* button) {
    if (!editor_->addServer({server.name,
                             server.address,
                             QString::number(server.gamePort),
                             {},
                             server.sockets,
                             {}}))
        return;
    button->setText(tr("Saved"));
    button->setEnabled(false);
}
