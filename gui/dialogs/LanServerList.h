#pragma once

#include "query/LanDiscovery.h"

#include <QObject>

class QLabel;
class QPushButton;
class QTableWidget;
class TForm3;

// "Find LAN servers" in the servers editor: searches the local network for
// game servers and lists them below the editor's fields (the editor places
// the button, the summary and the list), which grows to show the list; each
// row's Save button has the editor save that server as a new entry, as its
// own Save does, with its limits and messages.
class LanServerList : public QObject {
    Q_OBJECT
public:
    explicit LanServerList(TForm3* editor);

    LanDiscovery* discovery() const { return discovery_; }
    QPushButton* findButton() const { return find_; }
    QLabel* summary() const { return summary_; }
    QTableWidget* list() const { return list_; }

private:
    void search();
    void showFound();
    void save(const LanServer& server, QPushButton* button);

    TForm3* editor_;
    LanDiscovery* discovery_;
    QPushButton* find_;
    QLabel* summary_;
    QTableWidget* list_;
};
