// TForm1, the main window: ticks the mods, names the player and starts the game.
#pragma once

#include "state/LauncherState.h"
#include "windows/Prompts.h"

#include <QMainWindow>
#include <QSet>

class QAction;
class QComboBox;
class LaunchLock;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

// The main window: the mod check list, the player name, the machine's
// address and the executable, the launch actions and the menu. It owns the
// settings operations and the game launch.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    LoadOutcome ReadRegistry();
    void SaveRegistry();
    void LaunchZAM(const QString& argumentText, qint32 ModSelector);
    void UpdateModList(QListWidget* list);

    LoadOutcome FormCreate();
    void ModListClickCheck();
    void BitBtn3Click();
    void BitBtn2Click();
    void BitBtn5Click();
    void SpeedButton2Click();
    void Button1Click();
    void Options2Click();
    void Mods1Click();
    void Servers1Click();
    void Friends1Click();
    void ZAMPreferences1Click();
    void quit1Click();
    void About1Click();
    void Timer1Timer();

    QLabel* Image1;
    QGroupBox* GroupBox1;
    QListWidget* ModList;
    QGroupBox* GroupBox2;
    QComboBox* PlayerName;
    QGroupBox* GroupBox3;
    QLineEdit* MYIP;
    QPushButton* SpeedButton2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn2;
    QPushButton* BitBtn5;
    QFrame* Bevel1;
    QLabel* exenimi;
    QPushButton* Button1;
    OpenDialog OpenDialog1;
    QTimer* Timer1;
    // Locks the launch buttons of every window while a game starts.
    LaunchLock* launchLock;

    QAction* Options2;
    QAction* Mods1;
    QAction* Servers1;
    QAction* Friends1;
    QAction* ZAMPreferences1;
    QAction* quit1;
    QAction* About1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void connectHandlers();
    void setExecutableChooser();
    void refreshAddress();
    void FormClose();
    void showLoaded(const LoadOutcome& loaded);
    void showOnce(const QStringList& notices);

    LauncherState& state_ = LauncherState::instance();

    QSet<QString> shownNotices_;
};

extern TForm1* Form1;
