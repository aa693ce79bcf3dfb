#pragma once

#include <QObject>
#include <QString>

class ServerGrid;
class TForm4;

// The context menu of the browser's server rows: Join, Watch and Copy
// address for the server under the mouse, which it selects first, and Add to
// my servers for an internet server. Join and Watch ask the browser to join
// or watch its selected server.
class ServerRowMenu : public QObject {
    Q_OBJECT
public:
    ServerRowMenu(ServerGrid* grid, TForm4* browser);

private:
    void open(const QPoint& position);
    void copyAddress();
    void addToMyServers();

    ServerGrid* grid_;
    TForm4* browser_;
    // The server the menu was opened for: its slot and host:port.
    int slot_ = -1;
    QString address_;
};
