#pragma once

#include <QString>
#include <optional>

// Which rows of the server browser the user has chosen to hide. Every field
// off (maxPing 0) hides nothing.
struct ServerFilter {
    bool hideEmpty = false;  // servers reporting 0 players
    bool hideFull = false;   // servers whose players reach the shown maximum
    bool hideSilent = false; // servers that did not answer: ping "??"
    qint32 maxPing = 0;      // hides answering servers with a higher ping; 0: no limit

    bool hidesAny() const { return hideEmpty || hideFull || hideSilent || maxPing > 0; }
    friend bool operator==(const ServerFilter&, const ServerFilter&) = default;
};

// Whether a server with `players` on a shown maximum of `maximum` (both as
// the browser and the watcher show them) has a slot free: none when either
// is no number ("?", "??" or blank). A count above the maximum is full.
std::optional<bool> hasFreeSlot(const QString& players, const QString& maximum);

// True when the filter lets a row through, from the texts of its ping
// ("??" for a silent server) and players ("2/10") cells. A row whose texts
// say nothing about what a filter looks at passes that filter: a silent
// server is hidden only by hideSilent, never by maxPing.
bool serverShown(const ServerFilter& filter, const QString& ping, const QString& players);
