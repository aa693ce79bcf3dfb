#pragma once

#include <QByteArrayView>
#include <QString>

// The value after the first token of a status reply equal to key, when a
// backslash ends it; null when the reply has none.
QString statusValue(QByteArrayView datagram, QByteArrayView key);
