#pragma once

#include <QString>
#include <QStringView>

// Text for a terminal or a log: control characters (C0, DEL and C1) become
// visible escapes, so that text a server sent can neither move the cursor,
// clear the screen, set the title nor forge lines. Tab, line feed and
// carriage return read "\t", "\n" and "\r"; the others "\xHH". Everything
// else stays as it is.
QString withVisibleControls(QStringView text);
// The same, handing back the text itself (shared, not copied) when it holds
// no control character.
QString withVisibleControls(const QString& text);
