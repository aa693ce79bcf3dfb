#pragma once

#include <QString>

// Writes a store file with `mods` mods and `servers` servers on 127.0.0.1
// (game ports from firstPort up, Sockets, so the query ports are firstPort + 1 up).
void writeSeededStore(const QString& path, const QString& executable, int mods, int servers,
                      int firstPort = 20000);
