#include "watcher/Unit6.h"

#include "query/StatusQuery.h"
#include "query/UdpEndpoint.h"
#include "settings/GamePaths.h"
#include "state/LauncherState.h"
#include "watcher/PlayerChart.h"
#include "watcher/SoundOutput.h"
#include "watcher/WatchNotifier.h"
#include "watcher/WatcherFriends.h"
#include "windows/FormActivation.h"
#include "windows/GridTextDelegate.h"
#include "windows/GuardedHandler.h"
#include "windows/PlacementAnchor.h"
#include "windows/RememberedPlace.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <utility>

TFormWatcher* FormWatcher = nullptr;

namespace {

// The window as designed, wider than 300: FormCreate switches it to compact.
constexpr QSize kDesignedSize{362, 210};

struct Layout {
    QPoint speedButton;
    QString speedCaption;
    QSize bevel;
    bool expanded;
    QSize window;
};

const Layout kExpanded{{306, 133}, QStringLiteral("<< Less"), {337, 137}, true, {362, 210}};
const Layout kCompact{{210, 77}, QStringLiteral("More >>"), {241, 81}, false, {265, 151}};

QColor colourOf(TextColour colour) {
    switch (colour) {
    case TextColour::Green:
        return QColor(0, 128, 0);
    case TextColour::Maroon:
        return QColor(128, 0, 0);
    case TextColour::Plain:
        break;
    }
    return QPalette().color(QPalette::WindowText);
}

void showText(QLabel* label, const ColouredText& text) {
    label->setText(text.text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colourOf(text.colour));
    label->setPalette(palette);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, int top) {
    auto* created = new QLabel(text, parent);
    created->setObjectName(name);
    created->move(16, top);
    created->adjustSize();
    return created;
}

// A caption's value stands right of the widest caption.
void placeValues(const QList<std::pair<QLabel*, QLabel*>>& rows) {
    int left = 0;
    for (const auto& [caption, value] : rows)
        left = std::max(left, caption->geometry().right() + 8);
    for (const auto& [caption, value] : rows)
        value->setGeometry(left, caption->y(), 0, caption->height());
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
    setWindowTitle(QStringLiteral("Server Watcher"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    buildControls();
    connectHandlers();
    showDisplay();
    resize(kDesignedSize);
    guarded(this, [this] { FormCreate(); });
}

void TFormWatcher::buildControls() {
    // The frame comes first so that everything inside is drawn over it.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->move(8, 8);

    Label1 = label(this, QStringLiteral("Label1"), QStringLiteral("Watching:"), 16);
    host = label(this, QStringLiteral("host"), QString(), 16);
    Label3 = label(this, QStringLiteral("Label3"), QStringLiteral("Current status:"), 34);
    status = label(this, QStringLiteral("status"), QString(), 34);
    Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("Players:"), 52);
    players = label(this, QStringLiteral("players"), QString(), 52);
    Label4 = label(this, QStringLiteral("Label4"), QStringLiteral("Mission:"), 70);
    mission = label(this, QStringLiteral("mission"), QString(), 70);
    placeValues({{Label1, host}, {Label3, status}, {Label2, players}, {Label4, mission}});

    playerList = new QTableWidget(1, 2, this);
    playerList->setObjectName(QStringLiteral("playerList"));
    playerList->move(16, 90);
    playerList->resize(0, 52);
    playerList->setFrameShape(QFrame::NoFrame);
    playerList->horizontalHeader()->hide();
    playerList->verticalHeader()->hide();
    playerList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows of 14 pixels, unless the desktop's font needs more.
    const int rowHeight = std::max(14, playerList->fontMetrics().height() + 2);
    playerList->verticalHeader()->setMinimumSectionSize(rowHeight);
    playerList->verticalHeader()->setDefaultSectionSize(rowHeight);
    playerList->setShowGrid(false);
    playerList->setTabKeyNavigation(false);
    playerList->setItemDelegate(new GridTextDelegate(playerList));
    playerList->setSelectionBehavior(QAbstractItemView::SelectRows);
    playerList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    playerList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    playerList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    SpeedButton1 = new QPushButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setFlat(true);
    // It sits on the frame's corner; its own background keeps the frame's
    // lines from running through the caption.
    SpeedButton1->setAutoFillBackground(true);
    BitBtn2 = new QPushButton(QStringLiteral("Join"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->resize(75, 25);
    BitBtn1 = new QPushButton(QStringLiteral("Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->resize(75, 25);

    // Stacked at one place, the red lamp on top; the bright green one blinks
    // over the dim one.
    LG2 = lamp(this, QStringLiteral("LG2"), QStringLiteral(":/resources/lamp-green-dim.png"));
    LG = lamp(this, QStringLiteral("LG"), QStringLiteral(":/resources/lamp-green.png"));
    LR = lamp(this, QStringLiteral("LR"), QStringLiteral(":/resources/lamp-red.png"));

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

    chart_ = new PlayerChart(this);
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
    watchedServer.pollStarted();
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

void TFormWatcher::ToggleWindow() {
    const Layout& layout = width() <= 300 ? kExpanded : kCompact;
    SpeedButton1->setText(layout.speedCaption);
    // The button ends inside the window; a caption too wide for that room
    // gets a smaller font.
    const int room = layout.window.width() - layout.speedButton.x() - 2;
    QFont font = this->font();
    while (QFontMetrics(font).horizontalAdvance(layout.speedCaption) + 6 > room &&
           font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    SpeedButton1->setFont(font);
    SpeedButton1->setGeometry(
        layout.speedButton.x(), layout.speedButton.y(),
        std::min(room, QFontMetrics(font).horizontalAdvance(layout.speedCaption) + 8),
        QFontMetrics(font).height() + 2);
    Bevel1->resize(layout.bevel);
    Label4->setVisible(layout.expanded);
    mission->setVisible(layout.expanded);
    playerList->setVisible(layout.expanded);
    setFixedSize(layout.window);

    // The values end at the frame; the buttons and the lamps share one row
    // in the middle of the space below it.
    const QRect frame = Bevel1->geometry();
    for (QLabel* value : {host, status, players, mission})
        value->resize(frame.right() - 4 - value->x(), value->height());
    playerList->resize(frame.width() - 16 - SpeedButton1->width(), playerList->height());
    const int buttonTop = (frame.bottom() + layout.window.height() - 25) / 2;
    BitBtn2->move(8, buttonTop);
    BitBtn1->move(91, buttonTop);
    for (QLabel* each : {LG2, LG, LR})
        each->move(frame.right() - 19, buttonTop + 3);
    SpeedButton1->raise();
    chart_->place(layout.expanded, BitBtn1->geometry(), LR->geometry());
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
    if (OnJoin)
        OnJoin();
    close();
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

    playerList->setColumnWidth(0, 70);
    playerList->setColumnWidth(1, 100);
    WatcherSound sound = WatcherSound::None;
    const qint32 previousState = watchedServer.WatcherState;
    try {
        sound = handleWatcherReply(reply, watchedServer, display_, state_.settings.SoundMode);
    } catch (...) {
        showDisplay();
        throw;
    }
    status->setToolTip(QString());
    showDisplay();
    chart_->record(watchedServer.players);
    notifier_->stateChanged(previousState, watchedServer.WatcherState, display_.status.text);

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
    showText(status, {QStringLiteral("The sound file \"%1\" cannot be played.").arg(path)});
}

void TFormWatcher::showDisplay() {
    showText(status, display_.status);
    showText(players, display_.players);
    showText(mission, display_.mission);
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
    friends_->stopped();
    watchedServer.WatcherState = 0;
    if (OnClosed)
        OnClosed();
}
