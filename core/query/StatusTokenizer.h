#pragma once

#include <QByteArrayView>
#include <QString>

// Receives the values of the recognised keys of one status reply, in the
// order they appear. The views point into the datagram and are valid only
// during the call: a reader copies what it keeps. Every hook defaults to
// ignoring its value, so each reader overrides just the keys it uses.
class StatusReader {
public:
    virtual ~StatusReader() = default;

    virtual void onPlayer(QLatin1StringView) {}
    virtual void onScore(QLatin1StringView) {}
    virtual void onGametype(QLatin1StringView) {}
    virtual void onNumplayers(QLatin1StringView) {}
    // The maxplayers value converted to an integer (see reducedMaxPlayers).
    virtual void onMaxplayers(qint32) {}
    virtual void onGstate(QLatin1StringView) {}
    // The datagram holds a "final" token: it is the reply's last one.
    virtual void onFinal() {}
};

// The maximum shown to the user: the maxplayers value minus 2, wrapping like
// 32-bit arithmetic instead of overflowing.
constexpr qint32 reducedMaxPlayers(qint32 maxPlayers) {
    return qint32(quint32(maxPlayers) - 2u);
}

// Cuts the text of one reply datagram into backslash-separated tokens and
// hands the value of each recognised key to a reader.
//
// The text ends at the first zero byte; each byte is one character. Every
// token, key or value alike, decides how the next token is taken: after a
// token starting with "player_" the next one is a player name, after one
// starting with "score" a score, after "gametype", "numplayers",
// "maxplayers" or "gstate" (exact, case-sensitive) that key's value; a
// "final" token itself tells the reader the reply ends here. A token
// is delivered only when a backslash follows it, so text after the last
// backslash is never delivered. A maxplayers value that parseInteger rejects
// throws its LauncherError and ends the datagram there.
class StatusTokenizer {
public:
    static void tokenize(QByteArrayView datagram, StatusReader& reader);
};
