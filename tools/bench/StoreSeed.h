#pragma once

#include <QString>

// Writes a store file with `mods` mods and `servers` servers on host (game
// ports from firstPort up, Sockets, so the query ports are firstPort + 1 up).
// A host with %1 gives each server its own name, %1 being its number.
void writeSeededStore(const QString& path, const QString& executable, int mods, int servers,
                      int firstPort = 20000, const QString& host = QStringLiteral("127.0.0.1"));
