#include "browser/BrowserFriends.h"

#include "browser/ServerGrid.h"
#include "browser/Unit4.h"
#include "friends/FriendAlerts.h"
#include "friends/FriendListEdits.h"
#include "friends/FriendMatch.h"
#include "query/ReplyAccounting.h"
#include "settings/EntryId.h"
#include "state/LauncherState.h"
#include "windows/GuardedHandler.h"

#include <QMenu>
#include <QStandardItem>
#include <QTableWidget>
#include <QTimer>

namespace {

constexpr int LateReplyMarkMs = 100;

QString cellText(const ServerGrid* grid, int row, int column) {
    const QStandardItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// Bold with a tip naming the friends, or plain; an item already so is left
// alone, so unchanged rows cost no model update.
template <typename Item> void markItem(Item* item, const QStringList& friends) {
    if (!item)
        return;
    const QString tip = friends.isEmpty()
                            ? QString()
                            : BrowserFriends::tr("Friends here: %1").arg(friends.join(u", "));
    if (item->font().bold() != !friends.isEmpty()) {
        QFont font = item->font();
        font.setBold(!friends.isEmpty());
        item->setFont(font);
    }
    if (item->toolTip() != tip)
        item->setToolTip(tip);
}

} // namespace

BrowserFriends::BrowserFriends(TForm4* browser)
    : QObject(browser), browser_(browser), remark_(new QTimer(this)) {
    remark_->setSingleShot(true);
    remark_->setInterval(LateReplyMarkMs);
    connect(remark_, &QTimer::timeout, this, [this] { markServers(sightings()); });
    QTableWidget* players = browser->PlrGrid;
    players->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(players, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        guarded(browser_, [&] { openPlayerMenu(position); });
    });
    connect(&FriendAlerts::instance(), &FriendAlerts::friendsChanged, this, [this] {
        markServers(sightings());
        playersShown(shownSlot_);
    });
    FriendAlerts::instance().OnOpen = [this](int slot) { open(slot); };
    FriendAlerts::instance().BrowserSweeping = [this] { return browser_->sweeping(); };
}

// The hub outlives the browser: it must not call a browser that is gone.
BrowserFriends::~BrowserFriends() {
    FriendAlerts::instance().OnOpen = {};
    FriendAlerts::instance().BrowserSweeping = {};
}

void BrowserFriends::sweepStarted() {
    remark_->stop();
    Q_EMIT FriendAlerts::instance().browserSweepStarted();
}

void BrowserFriends::lateReply() {
    if (!remark_->isActive())
        remark_->start();
}

void BrowserFriends::sweepEnded() {
    const QList<ServerSighting> servers = sightings();
    markServers(servers);
    if (!LauncherState::instance().friends.table.isEmpty())
        FriendAlerts::instance().look(servers);
}

QList<ServerSighting> BrowserFriends::sightings() const {
    const LauncherState& state = LauncherState::instance();
    const FriendMatch match(state.friends.table);
    const ServerGrid* grid = browser_->SGrid;
    const ServerTable& shown = browser_->shownServers();
    QList<ServerSighting> servers;
    for (int slot = 0; slot <= shown.Last && slot < grid->rowCount(); ++slot)
        servers << savedServerSighting(
            shown, slot, match, state.queries.PlayerNames[slot], state.queries.PlayerCount[slot],
            cellText(grid, slot, PlayersColumn), cellText(grid, slot, MissionColumn));
    return servers;
}

void BrowserFriends::markServers(const QList<ServerSighting>& servers) {
    for (const ServerSighting& server : servers)
        markItem(browser_->SGrid->item(server.slot, NameColumn), server.friends);
}

void BrowserFriends::playersShown(int slot) {
    shownSlot_ = slot;
    if (slot < 0)
        return;
    const LauncherState& state = LauncherState::instance();
    const FriendMatch match(state.friends.table);
    QTableWidget* players = browser_->PlrGrid;
    const int count = state.queries.PlayerCount[slot];
    for (int row = 0; row < players->rowCount(); ++row) {
        const QString name = row < count ? state.queries.playerName(slot, row) : QString();
        const QString listed = match.friendNamed(name);
        for (int column = 0; column < players->columnCount(); ++column)
            markItem(players->item(row, column),
                     listed.isNull() ? QStringList() : QStringList{listed});
    }
}

void BrowserFriends::openPlayerMenu(const QPoint& position) {
    QTableWidget* players = browser_->PlrGrid;
    LauncherState& state = LauncherState::instance();
    const int row = players->rowAt(position.y());
    if (shownSlot_ < 0 || row < 0 || row >= state.queries.PlayerCount[shownSlot_])
        return;
    const QString name = state.queries.playerName(shownSlot_, row);
    if (name.trimmed().isEmpty())
        return;
    players->selectRow(row);
    QMenu menu(players);
    menu.setObjectName(QStringLiteral("PlayerMenu"));
    const bool listed = findFriend(state.friends.table, name) >= 0;
    QAction* change = menu.addAction(listed ? tr("Remove from friends") : tr("Add to friends"));
    change->setEnabled(listed || state.friends.table.Last < SLOT_COUNT - 1);
    connect(change, &QAction::triggered, this, [this, &state, name, listed] {
        guarded(browser_, [&] {
            if (listed)
                removeFriend(state.friends.table, name);
            else
                addFriend(state.friends.table, name, clockSeed());
            FriendAlerts::instance().announceFriendsChanged();
            state.save();
        });
    });
    menu.exec(players->viewport()->mapToGlobal(position));
}

void BrowserFriends::open(int slot) {
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
    const int last = browser_->shownServers().Last;
    if (slot < 0 || slot > last)
        return;
    ServerGrid* grid = browser_->SGrid;
    if (grid->rowCount() <= slot)
        grid->setRowCount(last + 1);
    grid->selectRow(slot);
}
