#include "app/Unit1.h"

#include "base/VisibleText.h"
#include "browser/Unit4.h"
#include "dialogs/FriendsEditor.h"
#include "dialogs/Unit2.h"
#include "dialogs/Unit3.h"
#include "dialogs/Unit5.h"
#include "dialogs/Unit7.h"
#include "launch/CommandLine.h"
#include "launch/GameStart.h"
#include "launch/LocalAddress.h"
#include "state/LauncherState.h"
#include "windows/ElidedLabel.h"
#include "windows/ErrorReport.h"
#include "windows/GuardedHandler.h"
#include "windows/LaunchLock.h"
#include "windows/PlacementAnchor.h"
#include "windows/WindowFit.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <future>

TForm1* Form1 = nullptr;

namespace {

// Shows the other windows the way the launcher always does: in front.
void bringUp(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent),
      OpenDialog1(tr("ZAMR Executable|QuellgroveResistance.exe|All files|*.*")) {
    Form1 = this;
    setPlacementAnchor(this);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("ZAM Launcher v2.16 by the ZAM Launcher team"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    // The banner's JPEG is decoded on another core while the window is built.
    std::future<QImage> banner = std::async(std::launch::async, [] {
        QImage picture(QStringLiteral(":/resources/banner.jpg"));
        // Reading a PNG's size makes Qt load every image plugin (PNG is built
        // in, so each plugin is asked whether it reads one); here that is off
        // the main thread, where the menu bar's standard icon would do it.
        QImageReader(QStringLiteral(":/resources/icon.png")).size();
        return picture;
    });
    // The store is loaded before the controls are made: their first text
    // waits for the fonts being read on another core, and the load needs none.
    setExecutableChooser();
    std::optional<LoadOutcome> loaded;
    guarded(this, [&] { loaded = FormCreate(); });
    buildControls();
    buildMenu();
    connectHandlers();
    refreshAddress();
    if (loaded)
        showLoaded(*loaded);
    Image1->setPixmap(QPixmap::fromImage(banner.get()));
    (new WindowFit(this))->fit();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::buildControls() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(6);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(271, 105); // the banner's size; the picture comes when it is decoded
    column->addWidget(Image1, 0, Qt::AlignHCenter);

    GroupBox1 = new QGroupBox(tr(" Mods "), central);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ModList = new QListWidget(GroupBox1);
    ModList->setObjectName(QStringLiteral("ModList"));
    // Five rows of the desktop's font, and at least the designed 96 pixels.
    ModList->setFixedHeight(
        std::max(96, 5 * (ModList->fontMetrics().height() + 2) + 2 * ModList->frameWidth()));
    // A long list is laid out a batch per turn of the event loop, so it does
    // not hold up the window's first showing; a batch is about the rows in view.
    ModList->setLayoutMode(QListView::Batched);
    ModList->setBatchSize(16);
    auto* noneItem = new QListWidgetItem(tr("none"), ModList);
    noneItem->setFlags(noneItem->flags() | Qt::ItemIsUserCheckable);
    noneItem->setCheckState(Qt::Unchecked);
    (new QVBoxLayout(GroupBox1))->addWidget(ModList);
    column->addWidget(GroupBox1);

    auto* playerRow = new QHBoxLayout;
    GroupBox2 = new QGroupBox(tr("Player"), central);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    PlayerName = new QComboBox(GroupBox2);
    PlayerName->setObjectName(QStringLiteral("PlayerName"));
    PlayerName->setEditable(true);
    PlayerName->setInsertPolicy(QComboBox::NoInsert);
    PlayerName->setEditText(QStringLiteral("-"));
    (new QVBoxLayout(GroupBox2))->addWidget(PlayerName);
    playerRow->addWidget(GroupBox2, 1);

    GroupBox3 = new QGroupBox(tr("Your IP"), central);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    MYIP = new QLineEdit(QStringLiteral("127.0.0.1"), GroupBox3);
    MYIP->setObjectName(QStringLiteral("MYIP"));
    MYIP->setReadOnly(true);
    MYIP->setStatusTip(tr("Your ip address"));
    SpeedButton2 = new QPushButton(tr("&Copy to clipboard"), GroupBox3);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setFlat(true);
    auto* ipBox = new QVBoxLayout(GroupBox3);
    ipBox->addWidget(MYIP);
    ipBox->addWidget(SpeedButton2);
    playerRow->addWidget(GroupBox3, 1);
    column->addLayout(playerRow);

    auto addLaunchButton = [&](const QString& name, const QString& caption, const QString& hint) {
        auto* button = new QPushButton(caption, central);
        button->setObjectName(name);
        button->setStatusTip(hint);
        column->addWidget(button);
        return button;
    };
    BitBtn3 = addLaunchButton(QStringLiteral("BitBtn3"), tr("&Start singleplayer"),
                              tr("Start ZAM normally"));
    BitBtn2 = addLaunchButton(QStringLiteral("BitBtn2"), tr("MP: &Host game"),
                              tr("Start ZAM and host a multiplayer game"));
    BitBtn5 = addLaunchButton(QStringLiteral("BitBtn5"), tr("MP: &Server list"),
                              tr("Join an ZAM game at ip address"));

    Bevel1 = new QFrame(central);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::StyledPanel);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setStatusTip(tr("ZAM Executable location"));
    // A long path shows its end, the file name; the tooltip names the runner.
    auto* executable = new ElidedLabel(Qt::ElideLeft, QStringLiteral("exenimi"), Bevel1);
    executable->setToolTipSource([this] {
        return describeGameStart(state_.settings.ExecutablePath, state_.settings.Runner);
    });
    exenimi = executable;
    exenimi->setObjectName(QStringLiteral("exenimi"));
    Button1 = new QPushButton(tr("ch&ange"), Bevel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setStatusTip(tr("Change the ZAM Executable location"));
    auto* bevelRow = new QHBoxLayout(Bevel1);
    bevelRow->setContentsMargins(6, 2, 2, 2);
    bevelRow->addWidget(exenimi, 1);
    bevelRow->addWidget(Button1);
    column->addWidget(Bevel1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    launchLock = new LaunchLock(Timer1, this);
    for (QPushButton* button : {BitBtn3, BitBtn5, BitBtn2})
        launchLock->guard(button);
    // Enter presses the focused button, as it does in a dialog.
    for (QPushButton* button : {SpeedButton2, BitBtn3, BitBtn2, BitBtn5, Button1})
        button->setAutoDefault(true);

    setCentralWidget(central);
}

void TForm1::buildMenu() {
    QMenu* options = menuBar()->addMenu(tr("&Options"));
    auto addItem = [this](QMenu* menu, const QString& name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    Options2 = addItem(options, QStringLiteral("Options2"), tr("&Options"));
    Mods1 = addItem(options, QStringLiteral("Mods1"), tr("&Mods"));
    Servers1 = addItem(options, QStringLiteral("Servers1"), tr("&Servers"));
    Friends1 = addItem(options, QStringLiteral("Friends1"), tr("&Friends"));
    options->addSeparator();
    ZAMPreferences1 = addItem(options, QStringLiteral("ZAMPreferences1"), tr("ZAM Preferences"));
    options->addSeparator();
    quit1 = addItem(options, QStringLiteral("quit1"), tr("&Quit"));
    QMenu* help = menuBar()->addMenu(tr("Help"));
    About1 = addItem(help, QStringLiteral("About1"), tr("About"));
}

TForm1::~TForm1() {
    state_.setExecutableChooser({});
}

void TForm1::connectHandlers() {
    connect(ModList, &QListWidget::itemChanged, this,
            guardedHandler(this, &TForm1::ModListClickCheck));
    connect(BitBtn3, &QPushButton::clicked, this, guardedHandler(this, &TForm1::BitBtn3Click));
    connect(BitBtn2, &QPushButton::clicked, this, guardedHandler(this, &TForm1::BitBtn2Click));
    connect(BitBtn5, &QPushButton::clicked, this, guardedHandler(this, &TForm1::BitBtn5Click));
    connect(SpeedButton2, &QPushButton::clicked, this,
            guardedHandler(this, &TForm1::SpeedButton2Click));
    connect(Button1, &QPushButton::clicked, this, guardedHandler(this, &TForm1::Button1Click));
    connect(Options2, &QAction::triggered, this, guardedHandler(this, &TForm1::Options2Click));
    connect(Mods1, &QAction::triggered, this, guardedHandler(this, &TForm1::Mods1Click));
    connect(Servers1, &QAction::triggered, this, guardedHandler(this, &TForm1::Servers1Click));
    connect(Friends1, &QAction::triggered, this, guardedHandler(this, &TForm1::Friends1Click));
    connect(ZAMPreferences1, &QAction::triggered, this,
            guardedHandler(this, &TForm1::ZAMPreferences1Click));
    connect(quit1, &QAction::triggered, this, guardedHandler(this, &TForm1::quit1Click));
    connect(About1, &QAction::triggered, this, guardedHandler(this, &TForm1::About1Click));
    connect(Timer1, &QTimer::timeout, this, guardedHandler(this, &TForm1::Timer1Timer));

    // Every later load, whichever window asks for it, refreshes what this
    // window shows; a load that fails refreshes the address only.
    connect(&state_, &LauncherState::aboutToLoad, this, &TForm1::refreshAddress);
    connect(&state_, &LauncherState::reloaded, this, &TForm1::showLoaded);
}

// A load that needs the executable asks with this window's file dialog.
void TForm1::setExecutableChooser() {
    state_.setExecutableChooser([this](const QString& message) {
        Prompts::instance().information(this, message);
        return OpenDialog1.Execute(this) ? std::optional(OpenDialog1.FileName) : std::nullopt;
    });
}

void TForm1::refreshAddress() {
    MYIP->setText(LocalAddressText(MYIP->text()).toUpper());
}

// The constructor shows what this first load gives once the controls exist;
// when it fails, the mod check list keeps its initial item.
LoadOutcome TForm1::FormCreate() {
    return ReadRegistry();
}

LoadOutcome TForm1::ReadRegistry() {
    return state_.load();
}

void TForm1::showLoaded(const LoadOutcome& loaded) {
    if (loaded.launcherKeyOpened) {
        PlayerName->clear();
        PlayerName->addItems(loaded.profileNames);
        PlayerName->setCurrentIndex(-1);
        PlayerName->setEditText(loaded.playerName);
    }
    UpdateModList(ModList);
    exenimi->setText(state_.settings.ExecutablePath);
    showOnce(loaded.notices);
}

void TForm1::SaveRegistry() {
    state_.save();
}

void TForm1::showOnce(const QStringList& notices) {
    for (const QString& notice : notices) {
        if (shownNotices_.contains(notice))
            continue;
        shownNotices_.insert(notice);
        Prompts::instance().information(this, notice);
    }
}

void TForm1::UpdateModList(QListWidget* list) {
    const QSignalBlocker quiet(list);
    list->clear();
    const ModTable& mods = state_.mods;
    // All rows in one insertion. The view has not laid them out yet and reads
    // their ticks when it draws them, so their set-up need not be reported.
    list->addItems(QStringList(mods.Name.begin(), mods.Name.begin() + (mods.Last + 1)));
    const QSignalBlocker quietRows(list->model());
    for (int k = 0; k <= mods.Last; ++k) {
        QListWidgetItem* item = list->item(k);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(mods.Checked[k] ? Qt::Checked : Qt::Unchecked);
    }
}

void TForm1::ModListClickCheck() {
    for (int i = 0; i < ModList->count() && i < SLOT_COUNT; ++i)
        state_.mods.Checked[i] = ModList->item(i)->checkState() == Qt::Checked;
}

// A press that reaches here while a start is under way (the second click of
// a double click, through whichever window) starts nothing.
void TForm1::LaunchZAM(const QString& argumentText, qint32 ModSelector) {
    if (launchLock->locked())
        return;
    launchLock->lock();
    const auto started = qScopeGuard([this] { launchLock->started(); });

    QList<bool> ticked;
    for (int i = 0; i < ModList->count(); ++i)
        ticked << (ModList->item(i)->checkState() == Qt::Checked);
    const QString command = composeCommandLine(state_.settings, state_.mods, state_.servers, ticked,
                                               argumentText, ModSelector);
    startCommandLine(command, state_.settings.GameDir, state_.settings.Runner);
    if (state_.settings.CloseAfterLaunch)
        close();
}

void TForm1::Timer1Timer() {
    launchLock->unlock();
}

void TForm1::BitBtn3Click() {
    LaunchZAM(singleplayerArgument(PlayerName->currentText()), TickedMods);
}

// Hosting takes the ticked mods, as singleplayer does.
void TForm1::BitBtn2Click() {
    LaunchZAM(hostArgument(PlayerName->currentText()), TickedMods);
}

void TForm1::BitBtn5Click() {
    if (state_.servers.Last < 0) {
        Prompts::instance().information(
            this, tr("No server entries found, add servers first using the options menu"));
        return;
    }
    bringUp(Form4);
}

void TForm1::SpeedButton2Click() {
    MYIP->selectAll();
    QApplication::clipboard()->setText(MYIP->text());
    MYIP->setFocus();
}

// A cancelled dialog writes nothing; the reload follows in every case, so
// unsaved ticks return to their stored state.
void TForm1::Button1Click() {
    if (state_.hasStoredSettings()) {
        Prompts::instance().information(this, tr("Select the ZAM executable."));
        if (OpenDialog1.Execute(this))
            state_.saveExecutable(OpenDialog1.FileName);
    }
    ReadRegistry();
}

void TForm1::Options2Click() {
    bringUp(FormOptions);
}

void TForm1::Mods1Click() {
    bringUp(Form2);
}

void TForm1::Servers1Click() {
    bringUp(Form3);
}

void TForm1::Friends1Click() {
    bringUp(FriendsEditor::of(this));
}

void TForm1::ZAMPreferences1Click() {
    startPreferencesTool(state_.settings.GameDir, state_.settings.Runner);
}

void TForm1::quit1Click() {
    close();
}

void TForm1::About1Click() {
    bringUp(AboutDialog);
}

void TForm1::FormClose() {
    SaveRegistry();
}

// Closing the main window saves and ends the application. When the save
// fails the user sees why and retries, quits without saving or keeps the
// launcher open; it never ends without saving unless the user says so.
void TForm1::closeEvent(QCloseEvent* event) {
    for (;;) {
        try {
            FormClose();
            break;
        } catch (...) {
            const QString message = currentExceptionMessage();
            qWarning().noquote() << "error:" << withVisibleControls(message);
            const SaveFailureAnswer answer = Prompts::instance().saveFailed(this, message);
            if (answer == SaveFailureAnswer::QuitWithoutSaving)
                break;
            if (answer == SaveFailureAnswer::KeepOpen) {
                event->ignore();
                return;
            }
        }
    }
    event->accept();
    QCoreApplication::quit();
}
