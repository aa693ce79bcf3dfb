#pragma once

#include "settings/RegistryFile.h"

#include <QByteArray>

// A load or a save makes several stores of the same file in a row, and each
// would parse the whole file again. The document of a store dropped without
// a change is kept until the event loop's next turn, and the next store that
// reads the same bytes takes it instead of parsing them.

// The document the bytes give: the one kept for exactly these bytes, else a parse.
RegistryFile parsedStore(const QByteArray& bytes);

// Keeps a document that is still exactly what parsing `bytes` gave. Nothing
// is kept without an application, whose event loop would let it go.
void keepParsedStore(const QByteArray& bytes, RegistryFile&& doc);
