#pragma once

#include <QByteArray>
#include <QString>

// The text of a store file: the first lines of its two formats, and the
// file's bytes decoded to text.

inline const QString storeHeader = QStringLiteral("REGEDIT4");
inline const QString version5Header = QStringLiteral("Windows Registry Editor Version 5.00");

// Decodes the file's bytes; `storeFormat` turns false for anything but UTF-8.
QString decodeText(const QByteArray& bytes, bool& storeFormat);
