#pragma once

#include <QString>
#include <QtGlobal>

// Converts text to a signed 32-bit integer the way every number in the
// launcher is read (store subkey names, server ports, maxplayers values):
// leading blanks are skipped, then either an optional "+" or "-" followed by
// decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X".
// Anything else, trailing characters included, or a value outside the
// signed 32-bit range throws LauncherError "'<text>' is not a valid integer value".
qint32 parseInteger(const QString& text);

// Like parseInteger, but returns false instead of throwing.
bool tryParseInteger(const QString& text, qint32& value);
