#include "query/StatusValue.h"

#include <QByteArray>
#include <QList>

QString statusValue(QByteArrayView datagram, QByteArrayView key) {
    const qsizetype zero = datagram.indexOf('\0');
    const QList<QByteArray> tokens =
        (zero < 0 ? datagram : datagram.first(zero)).toByteArray().split('\\');
    for (qsizetype i = 0; i + 2 < tokens.size(); ++i)
        if (tokens[i] == key)
            return QString::fromLatin1(tokens[i + 1]);
    return QString();
}
