#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Texts that regedit writes as byte lists instead of quoted text: "hex(1):"
// (a string) and "hex(2):" (a string with environment references, which stay
// unexpanded, as the registry object reads them). `raw` is the value's data
// as the store file holds it, from "hex(" on, continuation lines included.

// The text of a hex(1): or hex(2): value; nothing for any other data. The
// store's bytes are UTF-8, or one byte per character when they are not; the
// text ends before the first zero byte.
std::optional<QString> hexText(QStringView raw);

// The data of a version-5 export's hex(1): or hex(2): value, whose bytes are
// UTF-16LE, spelled as the store spells it (UTF-8 bytes). Other data comes
// back unchanged.
QString hexTextFromUtf16(QStringView raw);
