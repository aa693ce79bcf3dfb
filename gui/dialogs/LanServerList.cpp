#include "dialogs/LanServerList.h"

#include "dialogs/Unit3.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {

constexpr int listHeight = 160;
const QStringList columns = {QStringLiteral("Name"),    QStringLiteral("Address"),
                             QStringLiteral("Impl."),   QStringLiteral("Players"),
                             QStringLiteral("Mission"), QString()};

} // namespace

LanServerList::LanServerList(TForm3* editor)
    : QObject(editor), editor_(editor), discovery_(new LanDiscovery(this)) {
    find_ = placed(new QPushButton(QStringLiteral("Find LAN servers"), editor),
                   QStringLiteral("FindLanServers"), 313, 6, 104, 23);
    summary_ = placedLabel(editor, QStringLiteral("LanSummary"), QString(), 8, 232);
    list_ = placed(new QTableWidget(0, int(columns.size()), editor), QStringLiteral("LanServers"),
                   8, 250, 409, listHeight - 26);
    list_->setHorizontalHeaderLabels(columns);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(22);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    // The columns fit the width; the mission takes what the others leave.
    for (const auto& [column, width] : {std::pair{0, 84}, {1, 100}, {2, 68}, {3, 44}, {5, 44}})
        list_->setColumnWidth(column, width);
    list_->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    summary_->hide();
    list_->hide();
    connect(find_, &QPushButton::clicked, this,
            guardedHandler(editor, this, &LanServerList::search));
    connect(discovery_, &LanDiscovery::finished, this,
            guardedHandler(editor, this, &LanServerList::showFound));
}

void LanServerList::search() {
    find_->setEnabled(false);
    find_->setText(QStringLiteral("Searching..."));
    discovery_->start();
}

void LanServerList::showFound() {
    find_->setEnabled(true);
    find_->setText(QStringLiteral("Find LAN servers"));
    const QList<LanServer> found = discovery_->servers();
    summary_->setText(found.isEmpty() ? QStringLiteral("No server answered on the local network.")
                                      : QStringLiteral("Servers on the local network:"));
    summary_->adjustSize();
    list_->setRowCount(int(found.size()));
    for (int row = 0; row < found.size(); ++row) {
        const LanServer& server = found[row];
        const QStringList texts = {
            server.name, server.address + u':' + QString::number(server.gamePort),
            server.sockets ? QStringLiteral("Sockets") : QStringLiteral("DirectPlay"),
            server.players, server.mission};
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            item->setToolTip(texts[column]);
            list_->setItem(row, column, item);
        }
        auto* save = new QPushButton(QStringLiteral("Save"));
        connect(save, &QPushButton::clicked, this,
                [server, save, handler = guardedHandler(editor_, this, &LanServerList::save)] {
                    handler(server, save);
                });
        list_->setCellWidget(row, int(texts.size()), save);
    }
    summary_->show();
    list_->show();
    editor_->setFixedSize(editor_->width(), list_->geometry().bottom() + 8);
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
    button->setText(QStringLiteral("Saved"));
    button->setEnabled(false);
}
