#include "launch/LocalAddress.h"

#include <QHostAddress>
#include <QHostInfo>

QString LocalAddressText(const QString& previous) {
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    for (const QHostAddress& address : info.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return previous;
}
