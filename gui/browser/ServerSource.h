#pragma once

#include "query/InternetList.h"
#include "query/MasterFetch.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <functional>

class LauncherState;
class QComboBox;
class QLabel;
class TForm4;

// The browser's choice of servers: "My servers" (the saved ones, the
// default) or "Internet" (the list of the first master of the options that
// gives one). The internet list is fetched when first chosen and on
// Refresh, at most once a minute; the last one is kept in the cache folder
// and shown at once at the next start, marked as old until fetched again.
// While the internet list is shown the browser sweeps it, and the state's
// query results belong to its servers.
//
// Others that look at the internet servers (a friends search, say) take
// internet().servers() when internetListChanged() is raised, and while
// showsInternet() the state's queries hold those servers' players.
class ServerSource : public QGroupBox {
    Q_OBJECT
public:
    // sweep starts the browser's sweep of the servers shown.
    ServerSource(TForm4* browser, std::function<void()> sweep);

    bool showsInternet() const;
    const ServerTable& servers() const;
    const InternetList& internet() const { return internet_; }

    // Refresh was pressed: on the internet list a new one is fetched when
    // the minute allows it, and swept when it comes. False when the browser
    // should sweep what it shows now.
    bool refresh();
    // Where a player joins the internet server in slot, as host:port.
    QString address(int slot) const;
    // A reply of a shown internet server names it and tells its join port.
    void replyArrived(QByteArrayView datagram, const QString& fromIp, qint32 port);
    // Joins an internet server with Sockets and no mods, asking for its
    // password when its replies say it has one.
    void join(int slot, const QString& playerName);
    // Saves an internet server among the user's own, as the servers editor
    // saves a new one: its hostname, host and game port, Sockets.
    void addToMyServers(int slot);

    QComboBox* choice;
    QLabel* info;

Q_SIGNALS:
    void internetListChanged();

private:
    void chosen();
    bool startFetch();
    void fetched();
    void showInfo(const QString& problem = {});

    TForm4* browser_;
    LauncherState& state_;
    std::function<void()> sweep_;
    InternetList internet_;
    MasterFetch fetch_;
    QElapsedTimer clock_;
    QString cachePath_;
};
