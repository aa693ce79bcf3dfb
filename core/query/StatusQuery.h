#pragma once

#include "settings/Tables.h"

#include <QByteArrayView>
#include <QtGlobal>

// The status request every game server answers: the text \info\\status\ as
// exactly 14 bytes, without terminator.
inline constexpr char StatusQueryText[] = "\\info\\\\status\\";
inline constexpr qint32 StatusQueryLength = 14;
static_assert(sizeof(StatusQueryText) - 1 == StatusQueryLength);
inline constexpr QByteArrayView StatusQuery{StatusQueryText, StatusQueryLength};

// Distance from a server's game port to its query port: 1 for Sockets
// servers, 2 for DirectPlay servers.
constexpr qint32 QueryPortOffset(bool sockets) {
    return sockets ? 1 : 2;
}

// The query port of a saved server: its game port (converted with
// parseInteger, which throws on bad text) plus QueryPortOffset. The sum wraps
// like the 32-bit arithmetic it stands for; only its low 16 bits are used
// when sending anyway.
qint32 queryPort(const QString& gamePort, bool sockets);
qint32 queryPort(const ServerTable& servers, int slot);
