#include "query/WatcherReply.h"

#include "query/GameState.h"
#include "query/StatusTokenizer.h"
#include "settings/Tables.h"

#include <QCoreApplication>
#include <algorithm>

void WatchedServer::pollStarted() {
    players = QStringLiteral("?");
    maximum = QStringLiteral("?");
}

void PlayerRows::clear() {
    setRowCount(0);
    cells_[0] = Row();
    full_ = false;
    changed(0);
}

void PlayerRows::setName(const QString& name) {
    if (full_)
        return;
    cells_[rowCount_ - 1].name = name;
    changed(rowCount_ - 1);
}

void PlayerRows::closeRow(const QString& score) {
    if (full_)
        return;
    cells_[rowCount_ - 1].score = score;
    changed(rowCount_ - 1);
    if (rowCount_ < SLOT_COUNT)
        setRowCount(rowCount_ + 1);
    else
        full_ = true;
}

void PlayerRows::dropOpenRow() {
    if (full_)
        full_ = false;
    else
        setRowCount(rowCount_ - 1);
}

int PlayerRows::takeFirstChangedRow() {
    const int first = std::min(firstChanged_, rowCount_);
    firstChanged_ = SLOT_COUNT;
    return first;
}

void PlayerRows::setRowCount(int count) {
    rowCount_ = std::max(count, 1);
    if (cells_.size() < rowCount_)
        cells_.resize(rowCount_);
}

namespace {

bool isRunningGame(qint32 state) {
    return state == Briefing || state == GameInProgress;
}

// Applies the values of one datagram as they arrive; state is the state code
// of this datagram alone.
class WatcherReader : public StatusReader {
public:
    WatcherReader(WatchedServer& server, WatcherDisplay& display)
        : server_(server), display_(display) {}

    qint32 state = NoGameState;

    void onNumplayers(QLatin1StringView value) override { server_.players = value; }
    void onMaxplayers(qint32 value) override {
        server_.maximum = QString::number(reducedMaxPlayers(value));
    }
    void onGstate(QLatin1StringView value) override {
        const GameStateCode code = gameStateOf(value);
        if (code == NoGameState)
            return;
        state = code;
        const bool running = isRunningGame(code);
        display_.status = {gameStateText(code), running ? TextColour::Maroon : TextColour::Green};
        display_.redLampShown = running;
    }
    void onGametype(QLatin1StringView value) override {
        display_.mission = value.isEmpty()
                               ? ColouredText{QCoreApplication::translate("WatcherReply", "None"),
                                              TextColour::Maroon}
                               : ColouredText{value, TextColour::Green};
    }
    void onPlayer(QLatin1StringView value) override { display_.playerList.setName(value); }
    void onScore(QLatin1StringView value) override { display_.playerList.closeRow(value); }

private:
    WatchedServer& server_;
    WatcherDisplay& display_;
};

// The players line once numplayers is known. Players and maximum are
// compared as texts, character by character: "9" counts as more than "10".
void showPlayers(const WatchedServer& server, WatcherDisplay& display, qint32& state) {
    if (server.players == QStringLiteral("?"))
        return;
    const QString line = server.players + u'/' + server.maximum;
    if (server.players == QStringLiteral("0")) {
        state = EmptyServer;
        display.players = {line, TextColour::Maroon};
        display.status = {emptyServerText(), TextColour::Maroon};
        display.redLampShown = true;
        return;
    }
    const bool overfull = QString::compare(server.players, server.maximum) > 0;
    display.players = {line, overfull ? TextColour::Maroon : TextColour::Green};
}

// A sound marks a server that starts preparing a game after a running game
// or after being empty.
WatcherSound soundFor(qint32 previous, qint32 state, qint32 soundMode) {
    const bool fromEmpty = previous == EmptyServer;
    if (!isAlertTransition(previous, state))
        return WatcherSound::None;
    if (soundMode == 1)
        return WatcherSound::BuiltIn;
    if (soundMode == 2)
        return fromEmpty ? WatcherSound::Sound2 : WatcherSound::Sound1;
    return WatcherSound::None;
}

} // namespace

bool isAlertTransition(qint32 previous, qint32 state) {
    const bool preparing = state == SelectingMission || state == SettingUp || state == Debriefing;
    return preparing && (previous == EmptyServer || isRunningGame(previous));
}

WatcherSound handleWatcherReply(QByteArrayView datagram, WatchedServer& server,
                                WatcherDisplay& display, qint32 soundMode) {
    WatcherReader reader(server, display);
    StatusTokenizer::tokenize(datagram, reader);
    display.playerList.dropOpenRow();
    showPlayers(server, display, reader.state);
    const WatcherSound sound = soundFor(server.WatcherState, reader.state, soundMode);
    server.WatcherState = reader.state;
    return sound;
}

QString emptyServerText() {
    return QCoreApplication::translate("WatcherReply", "Empty");
}
