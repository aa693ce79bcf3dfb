#pragma once

#include "friends/FriendSightings.h"

#include <QObject>

class QTimer;
class TForm4;

// The browser's part in finding friends: the name of a server with a friend
// on it shows in bold (its tip names the friends), and so does a friend's
// row in the player grid, whose context menu adds the player under the
// mouse to the friends list or removes them. At the end of every sweep the
// servers shown (the saved ones or the internet list) go to FriendAlerts.
class BrowserFriends : public QObject {
    Q_OBJECT
public:
    explicit BrowserFriends(TForm4* browser);
    ~BrowserFriends() override;

    void sweepStarted();
    void sweepEnded();
    // A reply came after its sweep ended: the marks follow it shortly.
    void lateReply();
    // The player grid shows the server in slot.
    void playersShown(int slot);
    // Shows the browser with the server in slot selected (-1: as it is).
    void open(int slot);

private:
    // Every server of the last sweep with the friends on it.
    QList<ServerSighting> sightings() const;
    void markServers(const QList<ServerSighting>& servers);
    void openPlayerMenu(const QPoint& position);

    TForm4* browser_;
    QTimer* remark_; // one remark for a burst of late replies
    int shownSlot_ = -1;
};
