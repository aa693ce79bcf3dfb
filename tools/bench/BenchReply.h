#pragma once

#include <QByteArray>

// A status reply of a server with 16 players, with the hostname, mapname and
// end marker that quakestat needs to take the reply and stop waiting
// (zam-query ignores them).
QByteArray sixteenPlayerReply();
