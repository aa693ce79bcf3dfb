// TFormWatcher, the server watcher: polls one server and alerts when a game is set up.
#pragma once

#include "query/WatcherReply.h"

#include <QSet>
#include <QWidget>
#include <functional>

class FreeSlotJoin;
class PlayerChart;
class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class LauncherState;
class UdpEndpoint;
class WatchNotifier;
class WatcherFriends;
class WindowFit;

// The server watcher: a small window that stays on top, polls one server
// every 15 seconds, shows its game state, players, mission and player list,
// blinks a lamp while it runs and plays a sound when the server starts
// preparing a game after a running game or after being empty.
class TFormWatcher : public QWidget {
    Q_OBJECT
public:
    explicit TFormWatcher(QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    void watch(const QString& hostName, const QString& port, bool sockets);
    void UpdateStatus();
    void ToggleWindow();
    void Timer1Timer();
    void Timer2Timer();
    void SpeedButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void udpsDataReceived(qint32 NumberBytes, const QString& FromIP, qint32 Port);

    QLabel* Label1;
    QLabel* host;
    QLabel* Label3;
    QLabel* status;
    QLabel* Label2;
    QLabel* players;
    QLabel* Label4;
    QLabel* mission;
    QTableWidget* playerList;
    QPushButton* SpeedButton1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QLabel* LG2;
    QLabel* LG;
    QLabel* LR;
    QFrame* Bevel1;
    FreeSlotJoin* JoinWhenFree;
    UdpEndpoint* udps;
    QTimer* Timer1;
    QTimer* Timer2;

    // What the watcher keeps about the watched server between replies.
    const WatchedServer& watchedServer() const { return watched_; }

    // "Join": joins the server the browser has selected; false when the
    // start failed (the error is reported already).
    std::function<bool()> OnJoin;
    // Closing the watcher: brings back the windows it stood in for.
    std::function<void()> OnClosed;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void FormClose();
    // Keeps the window's place in the state, for the next showing and session.
    void notePlace();
    void showDisplay();
    void showPlayerRows();
    void joinFreeSlot();
    // Joins through OnJoin and closes; true when the start was made.
    bool joinAndClose();
    void playSoundFile(const QString& setting);
    void soundFileFailed(const QString& path);

    LauncherState& state_;
    WatchedServer watched_;
    WindowFit* fit_;
    // Which layout shows; the window starts expanded, as designed, and
    // FormCreate makes it compact.
    bool expanded_ = true;
    // What the labels, the lamp and the player list show.
    WatcherDisplay display_;
    // Set by showing, which runs FormActivate itself; the activation that
    // follows is the same one.
    bool activatedByShow_ = false;
    // The player count of the last hour, and the desktop notifications.
    PlayerChart* chart_;
    WatchNotifier* notifier_;
    WatcherFriends* friends_;
    QSet<QString> failedSounds_; // sound files already said to be unplayable
};

extern TFormWatcher* FormWatcher;
