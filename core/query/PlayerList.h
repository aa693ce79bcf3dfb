#pragma once

#include "query/PlayerTexts.h"

#include <QLatin1StringView>
#include <QString>
#include <QtGlobal>

// One server's players of a sweep, kept in storage its owner provides: the
// browser's query table, or a record of zam-query. The lists grow as players
// arrive, up to SLOT_COUNT entries, and never shrink: a sweep resets only the
// count and the first name, so a score slot keeps the text it received in an
// earlier sweep until a new score overwrites it. Players beyond the
// SLOT_COUNT-th of a sweep are dropped together with their scores, and a
// score that comes before the first player of a sweep belongs to no stored
// player and is dropped too.
struct PlayerList {
    qint32& count;
    PlayerTexts& names;
    PlayerTexts& scores;
    bool& dropped; // a player of this sweep was dropped: every later score is one of theirs

    // Stored texts; an index never written reads as empty text.
    static QString textAt(const PlayerTexts& texts, int index) { return texts.at(index); }

    void setFirstName(const QString& text);
    // Makes room for this many players at once (at most SLOT_COUNT) and for
    // this many bytes of their names and of their scores, so a reply that
    // announces its players fills its lists without regrowing them.
    void makeRoom(qsizetype players, qsizetype bytes);
    // No players, first name "no players".
    void reset();
    void add(QLatin1StringView name);
    // Sets the score of the player added last in this sweep.
    void setLastScore(QLatin1StringView score);
    // A reply's players are all in: the lists give back the room they grew
    // beyond their texts, which a sweep of every server would otherwise hold.
    void settle() {
        names.squeeze();
        scores.squeeze();
    }
};
