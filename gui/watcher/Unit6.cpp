#include "watcher/Unit6.h"

#include "query/GameState.h"
#include "query/StatusQuery.h"
#include "query/UdpEndpoint.h"
#include "settings/GamePaths.h"
#include "state/LauncherState.h"
#include "watcher/FreeSlotJoin.h"
#include "watcher/PlayerChart.h"
#include "watcher/SoundOutput.h"
#include "watcher/WatchNotifier.h"
#include "watcher/WatcherFriends.h"
#include "windows/ElidedLabel.h"
#include "windows/FormActivation.h"
#include "windows/GridRows.h"
#include "windows/GridTextDelegate.h"
#include "windows/GuardedHandler.h"
#include "windows/Placement.h"
#include "windows/PlacementAnchor.h"
#include "windows/ReadableColour.h"
#include "windows/RememberedPlace.h"
#include "windows/WindowFit.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>
#include <utility>

TFormWatcher* FormWatcher = nullptr;

namespace {

// The spec's window sizes of the two layouts; the desktop's font may need more.
constexpr QSize kExpandedSize{362, 210};
constexpr QSize kCompactSize{265, 151};

// Every text the status label shows, so the label keeps the room of the
// widest and the window does not change size with the state.
QStringList statusTexts() {
    QStringList texts{WatcherDisplay().status.text, emptyServerText()};
    for (GameStateCode code : {SelectingMission, SettingUp, Debriefing, Briefing, GameInProgress})
        texts << gameStateText(code);
    return texts;
}

void reserveWidth(QLabel* label, const QStringList& texts) {
    int widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(text));
    label->setMinimumWidth(widest);
}

// Only the text colour is the label's own; the rest follows the window.
void showText(QLabel* label, const ColouredText& text, const QPalette& window) {
    label->setText(text.text);
    QPalette palette;
    palette.setColor(QPalette::WindowText, stateColour(text.colour, window));
    label->setPalette(palette);
}

QLabel* lamp(QWidget* parent, const QString& name, const QString& picture) {
    auto* created = new QLabel(parent);
    created->setObjectName(name);
    created->setPixmap(QPixmap(picture));
    created->resize(20, 20);
    return created;
}

} // namespace

TFormWatcher::TFormWatcher(QWidget* parent) : QWidget(parent), state_(LauncherState::instance()) {
    FormWatcher = this;
    setObjectName(QStringLiteral("FormWatcher"));
    setWindowTitle(tr("Server Watcher"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    buildControls();
    connectHandlers();
    showDisplay();
    guarded(this, [this] { FormCreate(); });
}

void TFormWatcher::buildControls() {
    Bevel1 = named(new QFrame(this), QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Label1 = namedLabel(Bevel1, QStringLiteral("Label1"), tr("Watching:"));
    host = namedLabel(Bevel1, QStringLiteral("host"), QString());
    Label3 = namedLabel(Bevel1, QStringLiteral("Label3"), tr("Current status:"));
    status = namedLabel(Bevel1, QStringLiteral("status"), QString());
    Label2 = namedLabel(Bevel1, QStringLiteral("Label2"), tr("Players:"));
    players = namedLabel(Bevel1, QStringLiteral("players"), QString());
    Label4 = namedLabel(Bevel1, QStringLiteral("Label4"), tr("Mission:"));
    // A mission name comes from the server: it may be long, and is elided.
    mission = named(new ElidedLabel(Qt::ElideRight, QString(), Bevel1), QStringLiteral("mission"));

    playerList = named(new QTableWidget(1, 2, Bevel1), QStringLiteral("playerList"));
    playerList->setFrameShape(QFrame::NoFrame);
    playerList->horizontalHeader()->hide();
    playerList->verticalHeader()->hide();
    playerList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fitRowsToFont(playerList, 14);
    playerList->setShowGrid(false);
    playerList->setTabKeyNavigation(false);
    playerList->setItemDelegate(new GridTextDelegate(playerList));
    playerList->setSelectionBehavior(QAbstractItemView::SelectRows);
    playerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    playerList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    playerList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    playerList->setMinimumHeight(52);
    // The names take the room the scores leave.
    playerList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    SpeedButton1 = named(new QPushButton(Bevel1), QStringLiteral("SpeedButton1"));
    SpeedButton1->setFlat(true);
    BitBtn2 = named(new QPushButton(tr("Join"), this), QStringLiteral("BitBtn2"), 75);
    BitBtn1 = named(new QPushButton(tr("Close"), this), QStringLiteral("BitBtn1"), 75);

    // Stacked at one place, the red lamp on top; the bright green one blinks
    // over the dim one.
    auto* lamps = new QWidget(this);
    lamps->setFixedSize(20, 20);
    LG2 = lamp(lamps, QStringLiteral("LG2"), QStringLiteral(":/resources/lamp-green-dim.png"));
    LG = lamp(lamps, QStringLiteral("LG"), QStringLiteral(":/resources/lamp-green.png"));
    LR = lamp(lamps, QStringLiteral("LR"), QStringLiteral(":/resources/lamp-red.png"));
    chart_ = new PlayerChart(this);

    auto* labels = new QGridLayout(Bevel1);
    const std::pair<QLabel*, QLabel*> rows[] = {
        {Label1, host}, {Label3, status}, {Label2, players}, {Label4, mission}};
    for (int row = 0; row < int(std::size(rows)); ++row) {
        labels->addWidget(rows[row].first, row, 0);
        labels->addWidget(rows[row].second, row, 1);
    }
    labels->setColumnStretch(1, 1);
    labels->addWidget(playerList, int(std::size(rows)), 0, 1, 2);
    labels->addWidget(SpeedButton1, int(std::size(rows)) + 1, 0, 1, 2, Qt::AlignRight);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn2);
    bottom->addWidget(BitBtn1);
    bottom->addWidget(chart_, 1);
    bottom->addStretch(0);
    bottom->addWidget(lamps, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->addWidget(Bevel1, 1);
    column->addLayout(bottom);
    fit_ = new WindowFit(this, kExpandedSize);
    reserveWidth(status, statusTexts());

    udps = new UdpEndpoint(this);
    udps->setObjectName(QStringLiteral("udps"));
    udps->setLocalPort(15020);
    udps->setReportLevel(1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(15000);
    JoinWhenFree = new FreeSlotJoin(Timer2, this);
    layout()->addWidget(JoinWhenFree); // below the buttons

    notifier_ = new WatchNotifier(this);
    friends_ = new WatcherFriends(this);
}

void TFormWatcher::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, guardedHandler(this, &TFormWatcher::Timer1Timer));
    connect(Timer2, &QTimer::timeout, this, guardedHandler(this, &TFormWatcher::Timer2Timer));
    connect(SpeedButton1, &QPushButton::clicked, this,
            guardedHandler(this, &TFormWatcher::SpeedButton1Click));
    connect(BitBtn1, &QPushButton::clicked, this,
            guardedHandler(this, &TFormWatcher::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this,
            guardedHandler(this, &TFormWatcher::BitBtn2Click));
    connect(&state_, &LauncherState::aboutToSave, this, [this] {
        if (isVisible())
            notePlace();
    });
    new FormActivation(this, [this, activate = guardedHandler(this, &TFormWatcher::FormActivate)] {
        if (!std::exchange(activatedByShow_, false))
            activate();
    });

    // A server must not be able to open boxes on the desktop: an error in a
    // reply is logged by the endpoint and shown as the status label's tip.
    udps->OnDataReceived = [this](UdpEndpoint*, qint32 NumberBytes, const QString& FromIP,
                                  qint32 Port) { udpsDataReceived(NumberBytes, FromIP, Port); };
    udps->OnHandlerError = [this](UdpEndpoint*, const QString& message) {
        status->setToolTip(message);
    };
}

void TFormWatcher::notePlace() {
    state_.settings.Geometry.watcher = {x(), y()};
}

void TFormWatcher::FormCreate() {
    ToggleWindow();
}

void TFormWatcher::FormActivate() {
    display_.playerList.clear();
    showDisplay();
}

// Shows the watcher and polls the server at host and game port from now on.
// A port that is no integer is reported after the watcher was shown; it then
// stays open without polling until it is closed.
void TFormWatcher::watch(const QString& hostName, const QString& port, bool sockets) {
    show();
    chart_->clear();
    JoinWhenFree->reset();
    notifier_->watching(state_.servers, hostName, port, sockets);
    friends_->watching(hostName, port, sockets);
    udps->setRemoteHost(hostName);
    udps->setRemotePort(queryPort(port, sockets));
    Timer2->start();
    UpdateStatus();
    raise();
}

void TFormWatcher::UpdateStatus() {
    host->setText(udps->RemoteHost() + u':' + QString::number(udps->RemotePort()));
    watched_.pollStarted();
    chart_->pollStarted();
    friends_->pollStarted();
    display_.playerList.clear();
    showDisplay();

    QByteArray query = StatusQuery.toByteArray();
    query.resize(128, '\0');
    try {
        udps->SendDatagram(query, StatusQueryLength);
    } catch (...) {
        // No reply comes for a query that could not be sent; the next poll
        // tries again.
    }
}

// Switches between the compact layout (the state, the players and the
// address) and the expanded one (also the mission, the player list and the
// player chart). The window is as large as the layout needs in the desktop's
// font, and at least as large as designed, so it is told apart by the layout
// shown rather than by its width.
void TFormWatcher::ToggleWindow() {
    expanded_ = !expanded_;
    SpeedButton1->setText(expanded_ ? tr("<< Less") : tr("More >>"));
    for (QWidget* control : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(mission),
                             static_cast<QWidget*>(playerList), static_cast<QWidget*>(chart_)})
        control->setVisible(expanded_);
    fit_->setMinimum(expanded_ ? kExpandedSize : kCompactSize);
}

void TFormWatcher::Timer1Timer() {
    LG->setHidden(!LG->isHidden());
}

void TFormWatcher::Timer2Timer() {
    UpdateStatus();
}

void TFormWatcher::SpeedButton1Click() {
    ToggleWindow();
}

void TFormWatcher::BitBtn1Click() {
    close();
}

// Joins as the browser's "&Join server" does, through OnJoin.
void TFormWatcher::BitBtn2Click() {
    joinAndClose();
}

bool TFormWatcher::joinAndClose() {
    const bool started = OnJoin && OnJoin();
    close();
    return started;
}

// Any datagram that reaches the watcher's port is taken as the watched
// server's reply. What was shown before an error in the reply stays shown.
void TFormWatcher::udpsDataReceived(qint32 NumberBytes, const QString&, qint32) {
    if (NumberBytes <= 0)
        return;
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    udps->CopyDatagram(stream);
    const QByteArray reply = stream.readAll();

    playerList->setColumnWidth(1, 100);
    WatcherSound sound = WatcherSound::None;
    const qint32 previousState = watched_.WatcherState;
    try {
        sound = handleWatcherReply(reply, watched_, display_, state_.settings.SoundMode);
    } catch (...) {
        showDisplay();
        throw;
    }
    status->setToolTip(QString());
    showDisplay();
    chart_->record(watched_.players);
    notifier_->stateChanged(previousState, watched_.WatcherState, display_.status.text);
    // Joined on the next turn of the event loop, as a press of Join: its
    // errors reach the error report rather than the reply handler's tip.
    if (JoinWhenFree->replied(watched_.players, watched_.maximum))
        QTimer::singleShot(0, this, guardedHandler(this, &TFormWatcher::joinFreeSlot));

    switch (sound) {
    case WatcherSound::None:
        break;
    case WatcherSound::BuiltIn:
        SoundOutput::instance().playBuiltIn();
        break;
    case WatcherSound::Sound1:
        playSoundFile(state_.settings.Sound1);
        break;
    case WatcherSound::Sound2:
        playSoundFile(state_.settings.Sound2);
        break;
    }
}

// What a tick of "Join when a slot is free" does when a slot came free,
// unless the watcher was closed meanwhile. A start that failed is reported
// as such, not announced as a join.
void TFormWatcher::joinFreeSlot() {
    if (isVisible() && joinAndClose())
        notifier_->joinedFreeSlot();
}

void TFormWatcher::playSoundFile(const QString& setting) {
    SoundOutput& output = SoundOutput::instance();
    output.OnFileFailed = [watcher = QPointer(this)](const QString& path) {
        if (watcher)
            watcher->soundFileFailed(path);
    };
    output.playFile(localPath(setting));
}

// Said once per file, in place of the state until the next reply.
void TFormWatcher::soundFileFailed(const QString& path) {
    if (failedSounds_.contains(path))
        return;
    failedSounds_.insert(path);
    showText(status, {tr("The sound file \"%1\" cannot be played.").arg(path)}, palette());
}

void TFormWatcher::showDisplay() {
    showText(status, display_.status, palette());
    showText(players, display_.players, palette());
    showText(mission, display_.mission, palette());
    LR->setVisible(display_.redLampShown);

    showPlayerRows();
}

// Only rows that changed, or that the grid did not show before, are written:
// a burst of replies must not rewrite the whole list at every datagram.
void TFormWatcher::showPlayerRows() {
    PlayerRows& rows = display_.playerList;
    const int shownBefore = playerList->rowCount();
    playerList->setRowCount(rows.rowCount());
    const auto setCell = [this](int r, int column, const QString& text) {
        if (QTableWidgetItem* item = playerList->item(r, column)) {
            if (item->text() != text)
                item->setText(text);
        } else {
            playerList->setItem(r, column, new QTableWidgetItem(text));
        }
    };
    for (int r = std::min(rows.takeFirstChangedRow(), shownBefore); r < rows.rowCount(); ++r) {
        setCell(r, 0, rows.row(r).name);
        setCell(r, 1, rows.row(r).score);
    }
}

// Where the user left it, else centred on the main window, whenever the
// launcher shows it. Showing
// activates the window at once, before the caller sends the first query: the
// window system's own activation may come only after the first reply, and
// must not empty the player list again.
void TFormWatcher::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        if (const std::optional<QPoint> corner =
                rememberedCorner(state_.settings.Geometry.watcher, frameGeometry().size())) {
            move(*corner);
        } else if (const QWidget* anchor = placementAnchor()) {
            QRect frame = frameGeometry();
            frame.moveCenter(anchor->frameGeometry().center());
            move(frame.topLeft());
        }
        guarded(this, [this] { FormActivate(); });
        activatedByShow_ = true;
    }
    QWidget::showEvent(event);
}

// The coloured texts follow the desktop's palette, the reserved width its
// font.
void TFormWatcher::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        showDisplay();
    else if (event->type() == QEvent::FontChange)
        reserveWidth(status, statusTexts());
}

// Escape closes the watcher as "Close" does.
void TFormWatcher::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFormWatcher::closeEvent(QCloseEvent* event) {
    guarded(this, [this] { FormClose(); });
    activatedByShow_ = false;
    event->accept();
}

void TFormWatcher::FormClose() {
    notePlace();
    Timer2->stop();
    JoinWhenFree->reset();
    friends_->stopped();
    watched_.WatcherState = 0;
    if (OnClosed)
        OnClosed();
}
