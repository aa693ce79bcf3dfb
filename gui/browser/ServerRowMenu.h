#pragma once

#include <QObject>
#include <QString>

class QTableWidget;
class TForm4;

// The context menu of the browser's server rows: Join, Watch and Copy
// address for the server under the mouse, which it selects first. Join and
// Watch ask the browser to join or watch its selected server.
class ServerRowMenu : public QObject {
public:
    ServerRowMenu(QTableWidget* grid, TForm4* browser);

private:
    void open(const QPoint& position);
    void copyAddress();

    QTableWidget* grid_;
    TForm4* browser_;
    QString address_; // host:port of the server the menu was opened for
};
