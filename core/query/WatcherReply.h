#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <algorithm>

// What the watcher keeps about the watched server between replies.
struct WatchedServer {
    // The state code of the previous reply: 0, 2, 6, 9, 13, 14, or
    // EmptyServer. 0 at start and after the watcher closes.
    qint32 WatcherState = 0;
    // The last numplayers value and the last maxplayers value minus 2, as
    // text; "?" after each query is sent.
    QString players = QStringLiteral("?");
    QString maximum = QStringLiteral("?");

    // A query was sent: the players line starts over.
    void pollStarted();
};

// The state code of a reply that reports no players.
inline constexpr qint32 EmptyServer = 256;

enum class TextColour { Plain, Green, Maroon };

struct ColouredText {
    QString text;
    TextColour colour = TextColour::Plain;

    friend bool operator==(const ColouredText&, const ColouredText&) = default;
};

// The watcher's player list as a grid shows it: rowCount rows, at least one
// and at most SLOT_COUNT. Cells of rows dropped by a smaller count keep their
// texts and show them again when the count grows.
class PlayerRows {
public:
    struct Row {
        QString name;
        QString score;
    };

    int rowCount() const { return rowCount_; }
    const Row& row(int index) const { return cells_[index]; }

    // Count 0, leaving one row whose two cells are emptied.
    void clear();
    // Writes the name of the open row.
    void setName(const QString& name);
    // Writes the score of the open row and opens the next one. Once the
    // SLOT_COUNT-th row is closed there is no open row until the datagram
    // ends: the players that follow are dropped with their scores.
    void closeRow(const QString& score);
    // The datagram ended: its open row goes (the last row stays when the
    // list is full), and the next datagram writes into the last row.
    void dropOpenRow();

    // The first row whose cells changed since the last call; the rows from
    // there to rowCount() may show other texts. rowCount() when none did.
    int takeFirstChangedRow();

private:
    void setRowCount(int count);
    void changed(int row) { firstChanged_ = std::min(firstChanged_, row); }

    QList<Row> cells_{Row()};
    int rowCount_ = 1;
    bool full_ = false;
    int firstChanged_ = 0;
};

// Everything a reply changes on the watcher window.
struct WatcherDisplay {
    ColouredText status{QCoreApplication::translate("WatcherReply", "Waiting status...")};
    bool redLampShown = true;
    ColouredText players{QStringLiteral("?/?")};
    ColouredText mission{QStringLiteral("none")};
    PlayerRows playerList;
};

// True for the change of state the watcher alerts the user to: a server
// that starts preparing a game (selecting a mission, setting up or
// debriefing) after a running game or after being empty.
bool isAlertTransition(qint32 previous, qint32 state);

// The status text of a server without players.
QString emptyServerText();

// Which sound a reply asks for.
enum class WatcherSound { None, BuiltIn, Sound1, Sound2 };

// Handles one reply datagram: updates the display and the watched server
// from the values of the reply and returns the sound to play for the change
// of state, given the user's sound mode (0 none, 1 the built-in sound, 2 the
// user's two files).
//
// A maxplayers value that is no integer throws its LauncherError and ends
// the datagram there: what was written before stays, and the rest (later
// tokens, dropping the open row, the players line, the sound and the new
// WatcherState) does not happen.
WatcherSound handleWatcherReply(QByteArrayView datagram, WatchedServer& server,
                                WatcherDisplay& display, qint32 soundMode);
