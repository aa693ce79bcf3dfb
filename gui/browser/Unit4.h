// TForm4, the server browser: queries the saved servers and joins or watches one.
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

class FilterBar;
class BrowserFriends;
class BrowserPlacement;
class FindBar;
class GridOrder;
class HostLookups;
class QComboBox;
class ServerSource;
struct ServerTable;
class QGroupBox;
class QPushButton;
class StatusBarPanel;
class QSplitter;
class ServerGrid;
class QStatusBar;
class QTableWidget;
class QTimer;
class LauncherState;
class UdpEndpoint;

// The server browser: queries every saved server in one sweep, shows ping,
// players and mission per server and the players of the selected one, and
// joins or watches the selected server.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    void FormCreate();
    void FormActivate();
    void FormResize();
    void Timer1Timer();
    void Timer2Timer();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void SGridClick();
    void udpsDataReceived(qint32 NumberBytes, const QString& FromIP, qint32 Port);
    void udpsInvalidHost(bool& handled);
    void udpsBufferInvalid(bool& handled);
    // From the start of a sweep until Timer1 ends it.
    bool sweeping() const;
    // Joins the selected server, if any ("&Join server"): a saved one through
    // OnJoin, an internet one through the source.
    void joinSelected();
    // Hands the selected server, if any, to the watcher through OnWatch and
    // steps aside ("&Watcher").
    void watchSelected();
    // The servers shown: the saved ones or the internet list.
    ServerSource* source() const { return source_; }
    const ServerTable& shownServers() const;

    // Starts the game with the join argument and the server's slot.
    std::function<void(const QString& argumentText, qint32 slot)> OnJoin;
    // Watches the server at host and game port in the watcher.
    std::function<void(const QString& host, const QString& port, bool sockets)> OnWatch;

    ServerGrid* SGrid;
    QTableWidget* PlrGrid;
    QSplitter* Splitter1;
    QStatusBar* StatusBar1;
    StatusBarPanel* StatusPanel; // panel 0 of StatusBar1
    QGroupBox* GroupBox2;
    QComboBox* PlayerName;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    UdpEndpoint* udps;
    HostLookups* lookup; // resolves the hosts of a sweep, all started at its beginning
    QTimer* Timer1;
    QTimer* Timer2;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void layOutColumns();
    int columnNeed(int column) const;
    void querySweep();
    void queryServer(int slot);
    void takeReplies();
    void showPlayers();
    void setStatus(const QString& text);
    void repaintSoon();
    // Marks the row for the next repaint when it is in view.
    void markRow(int row);
    int selectedSlot() const;

    LauncherState& state_;
    bool sweeping_ = false;
    bool placed_ = false;
    // Replies and status texts repaint at most this often.
    static constexpr int RepaintIntervalMs = 10;
    QTimer* repaintTimer_;
    // Sorting and finding, both untouched until the user asks for them.
    GridOrder* order_;
    FindBar* findBar_;
    FilterBar* filterBar_;
    BrowserFriends* friends_;
    BrowserPlacement* placement_;
    ServerSource* source_;
    QRect changedRows_; // rows in view whose texts changed since the last repaint
    QElapsedTimer sinceRepaint_;
};

extern TForm4* Form4;
