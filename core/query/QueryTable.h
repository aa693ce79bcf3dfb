#pragma once

#include "settings/Tables.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The browser's query results per server, parallel to the server table and
// indexed by the same slot.
//
// Each server's player lists grow as players arrive, up to SLOT_COUNT
// entries, and never shrink: a sweep resets only PlayerCount and the first
// name, so a score slot keeps the text it received in an earlier sweep until
// a new score overwrites it. Players beyond the SLOT_COUNT-th of a sweep are
// dropped together with their scores, and a score that comes before the
// first player of a sweep belongs to no stored player and is dropped too.
struct QueryTable {
    SlotArray<QString> ResolvedIp; // dotted address of Host, replies are matched against it
    SlotArray<quint32> SendTick{}; // tick when the sweep reached the server
    SlotArray<qint32> PlayerCount{};
    SlotArray<QStringList> PlayerNames;
    SlotArray<QStringList> PlayerScores;
    // A player of this sweep was dropped: every later score is one of theirs.
    SlotArray<bool> PlayersDropped{};

    // Stored texts; an index never written reads as empty text.
    QString playerName(int server, int index) const;
    QString playerScore(int server, int index) const;

    void setFirstName(int server, const QString& text);
    // Starts the server's player list of a sweep: no players, first name
    // "no players".
    void resetPlayers(int server);
    void addPlayer(int server, QLatin1StringView name);
    // Sets the score of the player added last in this sweep.
    void setLastScore(int server, QLatin1StringView score);
};
