#include "browser/Unit4.h"

#include "browser/BrowserFriends.h"
#include "browser/BrowserPlacement.h"
#include "browser/FilterBar.h"
#include "browser/FindBar.h"
#include "browser/GridCell.h"
#include "browser/GridOrder.h"
#include "browser/ServerGrid.h"
#include "browser/ServerRowMenu.h"
#include "browser/ServerSource.h"
#include "browser/StatusBarPanel.h"
#include "launch/CommandLine.h"
#include "query/HostLookups.h"
#include "query/QueryTable.h"
#include "query/ReplyAccounting.h"
#include "query/ServerQuery.h"
#include "query/StatusQuery.h"
#include "query/TickSource.h"
#include "query/UdpEndpoint.h"
#include "state/LauncherState.h"
#include "windows/ErrorReport.h"
#include "windows/FormActivation.h"
#include "windows/GridRows.h"
#include "windows/GridTextDelegate.h"
#include "windows/GuardedHandler.h"
#include "windows/PlacementAnchor.h"
#include "windows/StandardGlyph.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

TForm4* Form4 = nullptr;

namespace {

QStringList serverHeader() {
    return {TForm4::tr("Server Name"), TForm4::tr("Hostname/IP"), TForm4::tr("Ping"),
            TForm4::tr("Players"), TForm4::tr("Mission")};
}

void setText(QTableWidget* grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

// Reply texts go into the server grid without telling the view: the window
// repaints the rows they changed once for a burst of replies instead of once
// per reply.
class GridSink : public ServerRowSink {
public:
    GridSink(ServerGrid* grid, std::function<void(int row)> changed)
        : grid_(grid), changed_(std::move(changed)), quiet_(grid->cells()) {}
    void setCell(int server, ServerColumn column, const QString& text) override {
        if (server >= grid_->rowCount())
            return;
        GridCell::writeQuietly(grid_->cells(), server, column, text);
        changed_(server);
    }

private:
    ServerGrid* grid_;
    std::function<void(int row)> changed_;
    QSignalBlocker quiet_;
};

template <typename Grid> Grid* grid(Grid* table, const QString& name) {
    table->setObjectName(name);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    table->verticalHeader()->hide();
    fitRowsToFont(table, 16);
    table->setWordWrap(false);
    table->setTabKeyNavigation(false); // Tab leaves the grid; arrows move inside it
    table->setItemDelegate(new GridTextDelegate(table));
    return table;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    QStyle::StandardPixmap glyph) {
    auto* b = new QPushButton(standardGlyph(glyph), caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(true); // Enter presses the focused button
    return b;
}

} // namespace

TForm4::TForm4(QWidget* parent) : QWidget(parent), state_(LauncherState::instance()) {
    Form4 = this;
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Servers"));
    resize(620, 440);
    buildControls();
    connectHandlers();
    FormCreate();
}

void TForm4::buildControls() {
    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    SGrid = grid(new ServerGrid(5, Splitter1), QStringLiteral("SGrid"));
    SGrid->setHorizontalHeaderLabels(serverHeader());
    SGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SGrid->horizontalHeader()->setHighlightSections(false);
    PlrGrid = grid(new QTableWidget(0, 2, Splitter1), QStringLiteral("PlrGrid"));
    PlrGrid->horizontalHeader()->hide();
    PlrGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    PlrGrid->setRowCount(1);
    Splitter1->setStretchFactor(0, 3);
    Splitter1->setStretchFactor(1, 2);

    GroupBox2 = new QGroupBox(tr("Player"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    PlayerName = new QComboBox(GroupBox2);
    PlayerName->setObjectName(QStringLiteral("PlayerName"));
    PlayerName->setEditable(true);
    PlayerName->setInsertPolicy(QComboBox::NoInsert);
    PlayerName->setMinimumWidth(150);
    PlayerName->setEditText(QStringLiteral("-"));
    (new QVBoxLayout(GroupBox2))->addWidget(PlayerName);

    BitBtn1 =
        button(this, QStringLiteral("BitBtn1"), tr("&Join server"), QStyle::SP_DialogApplyButton);
    BitBtn2 = button(this, QStringLiteral("BitBtn2"), tr("Refresh"), QStyle::SP_BrowserReload);
    BitBtn3 =
        button(this, QStringLiteral("BitBtn3"), tr("&Watcher"), QStyle::SP_FileDialogContentsView);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    StatusPanel = new StatusBarPanel(tr("Ready"), StatusBar1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusBar1->addWidget(StatusPanel, 1);

    // A sweep asked for while one runs follows it, as an activation's does.
    source_ = new ServerSource(this, [this] { sweeping_ ? Timer2->start() : querySweep(); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(source_);
    bottom->addWidget(GroupBox2);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3})
        bottom->addWidget(b, 0, Qt::AlignBottom);
    bottom->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(Splitter1, 1);
    layout->addLayout(bottom);
    layout->addWidget(StatusBar1);
    findBar_ = new FindBar(SGrid, state_.queries, this);
    layout->insertWidget(0, findBar_);
    filterBar_ = new FilterBar(
        SGrid, state_,
        [this] {
            if (BitBtn2->isEnabled())
                BitBtn2Click();
        },
        this);
    layout->insertWidget(0, filterBar_);
    setTabOrder(filterBar_->lastControl(), findBar_);
    setTabOrder(findBar_, SGrid);
    order_ = new GridOrder(SGrid);
    placement_ = new BrowserPlacement(this, Splitter1, SGrid->horizontalHeader(), state_);
    new ServerRowMenu(SGrid, this);
    friends_ = new BrowserFriends(this);

    udps = new UdpEndpoint(this);
    udps->setObjectName(QStringLiteral("udps"));
    udps->setLocalPort(15015);
    udps->setReportLevel(1);
    lookup = new HostLookups(this);
    lookup->setObjectName(QStringLiteral("lookup"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(500);
    repaintTimer_ = new QTimer(this);
    repaintTimer_->setSingleShot(true);
    sinceRepaint_.start();
    connect(repaintTimer_, &QTimer::timeout, this, [this] {
        sinceRepaint_.restart();
        SGrid->viewport()->update(changedRows_);
        changedRows_ = QRect();
        StatusPanel->updateIfChanged();
    });
}

void TForm4::connectHandlers() {
    connect(BitBtn1, &QPushButton::clicked, this, guardedHandler(this, &TForm4::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guardedHandler(this, &TForm4::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, guardedHandler(this, &TForm4::BitBtn3Click));
    connect(Timer1, &QTimer::timeout, this, guardedHandler(this, &TForm4::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, guardedHandler(this, &TForm4::Timer2Timer));
    connect(SGrid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            guardedHandler(this, &TForm4::SGridClick));
    new FormActivation(this, guardedHandler(this, &TForm4::FormActivate));

    // The endpoint hands errors of the reply handler to OnHandlerError (and
    // the log): a flood of bad replies must never open a message box.
    udps->OnDataReceived = [this](UdpEndpoint*, qint32 count, const QString& ip, qint32 port) {
        udpsDataReceived(count, ip, port);
    };
    udps->OnHandlerError = [this](UdpEndpoint*, const QString& message) { setStatus(message); };
    udps->OnInvalidHost = [this](bool& handled) { udpsInvalidHost(handled); };
    udps->OnBufferInvalid = [this](bool& handled, QByteArray&, qint32&) {
        udpsBufferInvalid(handled);
    };
}

// The player names as the launcher loaded them.
void TForm4::FormCreate() {
    PlayerName->addItems(state_.profileNames);
    PlayerName->setCurrentIndex(-1);
    PlayerName->setEditText(state_.playerName);
}

void TForm4::FormActivate() {
    layOutColumns();
    Timer2->start();
}

void TForm4::FormResize() {
    layOutColumns();
}

// The designed widths (a third each of what the ping's 30 and the players'
// 50 pixels leave for the names, the addresses and the missions), each at
// least as wide as its caption with the sort indicator and, for the ping and
// the players, as their widest text in the desktop's font.
void TForm4::layOutColumns() {
    const int ping = std::max(30, columnNeed(PingColumn));
    const int players = std::max(50, columnNeed(PlayersColumn));
    const int a = int(std::lround((SGrid->width() - ping - players - 18) / 3.0));
    const int widths[] = {a, a, ping, players, a + 10};
    int least = 18;
    for (int column = 0; column < 5; ++column) {
        const int caption = SGrid->horizontalHeader()->sectionSizeHint(column);
        if (!placement_->columnsSizedByUser())
            SGrid->setColumnWidth(column, std::max(widths[column], caption));
        least += column == PingColumn || column == PlayersColumn ? widths[column] : caption;
    }
    SGrid->setMinimumWidth(least);
    PlrGrid->setColumnWidth(0, 150);
    PlrGrid->setColumnWidth(1, PlrGrid->width() - 150);
}

// The width of a column's caption and of its longest text (the ping and
// player texts are digits, all about as wide).
int TForm4::columnNeed(int column) const {
    const QStandardItem* longest = nullptr;
    for (int row = 0; row < SGrid->rowCount(); ++row) {
        const QStandardItem* item = SGrid->item(row, column);
        if (item && (!longest || item->text().size() > longest->text().size()))
            longest = item;
    }
    const int margins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, SGrid) + 1);
    const int text =
        longest ? SGrid->fontMetrics().horizontalAdvance(longest->text()) + margins : 0;
    return std::max(SGrid->horizontalHeader()->sectionSizeHint(column), text + 1);
}

// A sweep that waits for a host lookup runs the event loop; an activation
// meanwhile leaves Timer2 on, so the next sweep follows this one.
void TForm4::Timer2Timer() {
    if (sweeping_)
        return;
    Timer2->stop();
    querySweep();
}

void TForm4::Timer1Timer() {
    if (sweeping_)
        return;
    BitBtn2->setEnabled(true);
    Timer1->stop();
    layOutColumns();
    order_->apply();
    findBar_->remark();
    showPlayers();
    friends_->sweepEnded();
}

void TForm4::BitBtn2Click() {
    layOutColumns();
    if (!source_->refresh())
        querySweep();
}

void TForm4::SGridClick() {
    showPlayers();
}

// Queries every saved server. A Port that is no integer stops the sweep at
// that server with its conversion error, leaving "Refresh" disabled. Sweeps
// never nest: "Refresh" is off from the start of a sweep until Timer1 ends
// the last one, and a sweep asked for while one runs is not started.
void TForm4::querySweep() {
    if (sweeping_)
        return;
    sweeping_ = true;
    friends_->sweepStarted();
    const auto sweepEnds = qScopeGuard([this] {
        sweeping_ = false;
        udps->useLookups(nullptr);
        SGrid->viewport()->update();
    });
    SGrid->setHorizontalHeaderLabels(serverHeader());
    setStatus(tr("Querying servers..."));
    BitBtn2->setEnabled(false);
    Timer1->stop();
    // Every name is looked up at once; the loop below takes the answers in
    // its own order, and the endpoint's sends take the same ones.
    const ServerTable& servers = shownServers();
    lookup->clear();
    for (int slot = 0; slot <= servers.Last; ++slot)
        lookup->start(servers.Host[slot]);
    udps->useLookups(lookup);
    SGrid->setRowCount(servers.Last + 1);
    if (SGrid->currentRow() < 0 && SGrid->rowCount() > 0)
        SGrid->selectRow(0);
    // The rows exist; their texts change without a view update per cell.
    const QSignalBlocker quiet(SGrid->cells());
    QElapsedTimer sinceReplies;
    sinceReplies.start();
    for (int slot = 0; slot <= servers.Last && slot < SGrid->rowCount(); ++slot) {
        queryServer(slot);
        if (sinceReplies.nsecsElapsed() >= 1000000) {
            takeReplies();
            sinceReplies.restart();
        }
    }
    setStatus(tr("Query done..."));
    Timer1->start();
}

// Replies that came while the sweep was sending are handled now, before the
// endpoint's receive buffer overflows and while their pings are still true.
// Input waits for the end of the sweep; a flood of datagrams holds the sweep
// up for at most a millisecond each time.
void TForm4::takeReplies() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 1);
    setStatus(tr("Querying servers..."));
}

// Shows the server's name and address, then queries it; its ping, players
// and mission read "??" and blanks from the lookup on until its reply. The
// row paints with the next repaint, within RepaintIntervalMs.
void TForm4::queryServer(int slot) {
    const ServerTable& servers = shownServers();
    QStandardItemModel* cells = SGrid->cells();
    GridCell::writeQuietly(cells, slot, NameColumn, servers.Name[slot]);
    GridCell::writeQuietly(cells, slot, HostColumn, servers.Host[slot] + u':' + servers.Port[slot]);
    markRow(slot);

    sendServerQuery(
        *udps, servers, state_.queries, slot,
        [this](const QString& host) { return lookup->LookupHostAddress(host); },
        [this, cells, slot] {
            GridCell::writeQuietly(cells, slot, PingColumn, QStringLiteral("??"));
            GridCell::writeQuietly(cells, slot, PlayersColumn, QStringLiteral(" "));
            GridCell::writeQuietly(cells, slot, MissionColumn, QStringLiteral(" "));
            markRow(slot);
        });
}

void TForm4::udpsDataReceived(qint32 NumberBytes, const QString& FromIP, qint32 Port) {
    setStatus(tr("Receiving data..."));
    if (NumberBytes <= 0)
        return;
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    udps->CopyDatagram(stream);
    const QByteArray text = stream.readAll();
    GridSink sink(SGrid, [this](int row) { markRow(row); });
    try {
        acceptReply(text, FromIP, Port, udps->arrivalTick(), shownServers(), state_.queries, sink);
        source_->replyArrived(text, FromIP, Port);
        if (!sweeping())
            friends_->lateReply();
    } catch (...) {
        repaintSoon();
        throw;
    }
    setStatus(tr("Ready"));
}

void TForm4::udpsInvalidHost(bool&) {
    setStatus(tr("Invalid Host error occured."));
}

void TForm4::udpsBufferInvalid(bool&) {
    setStatus(tr("Buffer invalid error occured."));
}

// A server without players this sweep shows its first name ("no players" or
// "no response from server") beside the score text that slot last received.
void TForm4::showPlayers() {
    const int slot = selectedSlot();
    if (slot < 0)
        return;
    const QueryTable& queries = state_.queries;
    const int rows = std::max(queries.PlayerCount[slot], 1);
    PlrGrid->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        setText(PlrGrid, row, 0, queries.playerName(slot, row));
        setText(PlrGrid, row, 1, queries.playerScore(slot, row));
    }
    friends_->playersShown(slot);
}

void TForm4::BitBtn1Click() {
    joinSelected();
}

void TForm4::BitBtn3Click() {
    watchSelected();
}

// The join argument goes with the server's own slot, for its mods.
void TForm4::joinSelected() {
    const int slot = selectedSlot();
    if (slot < 0 || !OnJoin)
        return;
    if (source_->showsInternet())
        return source_->join(slot, PlayerName->currentText());
    const ServerTable& servers = state_.servers;
    OnJoin(joinArgument(servers.Host[slot], servers.Port[slot], servers.Pass[slot],
                        servers.Sockets[slot], PlayerName->currentText()),
           slot);
}

void TForm4::watchSelected() {
    const int slot = selectedSlot();
    if (slot < 0)
        return;
    hide();
    const ServerTable& servers = shownServers();
    if (OnWatch)
        OnWatch(servers.Host[slot], servers.Port[slot], servers.Sockets[slot]);
}

void TForm4::setStatus(const QString& text) {
    StatusPanel->setText(text);
    repaintSoon();
}

// The first change after a quiet spell shows on the next turn of the event
// loop; the changes of a burst share one repaint every RepaintIntervalMs.
void TForm4::repaintSoon() {
    if (!repaintTimer_->isActive())
        repaintTimer_->start(int(std::max<qint64>(0, RepaintIntervalMs - sinceRepaint_.elapsed())));
}

void TForm4::markRow(int row) {
    const QRect cell = SGrid->visualRect(SGrid->indexOf(row));
    const QRect inView = QRect(0, cell.y(), SGrid->viewport()->width(), cell.height())
                             .intersected(SGrid->viewport()->rect());
    if (inView.isEmpty())
        return;
    changedRows_ |= inView;
    repaintSoon();
}

bool TForm4::sweeping() const {
    return sweeping_ || Timer1->isActive();
}

int TForm4::selectedSlot() const {
    const int row = SGrid->currentRow();
    return row >= 0 && row <= shownServers().Last ? row : -1;
}

const ServerTable& TForm4::shownServers() const {
    return source_->servers();
}

// Where the user left it in an earlier session, else centred on the main
// window when first shown; afterwards the window stays where the user put it.
void TForm4::showEvent(QShowEvent* event) {
    const QWidget* anchor = placementAnchor();
    if (!event->spontaneous() && !placed_ && placement_->restore())
        placed_ = true;
    if (!event->spontaneous() && !placed_ && anchor) {
        QRect frame({0, 0}, size());
        frame.moveCenter(anchor->geometry().center());
        move(frame.topLeft());
        placed_ = true;
    }
    QWidget::showEvent(event);
}

void TForm4::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}
