#pragma once

#include "settings/RegistryFile.h"

#include <QByteArray>
#include <optional>

class QFile;

// A load or a save makes several stores of the same file in a row, and each
// would parse the whole file again. The document of a store dropped without
// a change is kept until the event loop's next turn, and the next store that
// reads the same bytes takes it instead of parsing them.

struct ParsedStore {
    QByteArray bytes; // the file as read
    RegistryFile doc; // what parsing them gives
};

// Reads the open file from its start and gives its document: the kept one
// when the file holds exactly the kept bytes (compared as they are read, so
// the file is not copied again), else a parse. Nothing on a read error.
std::optional<ParsedStore> readParsedStore(QFile& file);

// Starts reading and parsing the file at path on a thread of its own, so the
// launcher's first load finds the store parsed while its main window is
// being built. Called once the application exists: the thread that makes
// the application must be the first to use the toolkit's objects. The next
// readParsedStore waits for it and takes it as it takes a kept document:
// only when the file still holds exactly those bytes.
void prefetchParsedStore(const QString& path);

// Keeps a document that is still exactly what parsing its bytes gave.
// Nothing is kept without an application, whose event loop lets it go.
void keepParsedStore(ParsedStore&& parsed);
