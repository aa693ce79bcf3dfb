#include "launch/LocalAddress.h"

#include <QNetworkInterface>

namespace {

QList<NetworkInterfaceEntry> systemInterfaces() {
    QList<NetworkInterfaceEntry> entries;
    for (const QNetworkInterface& system : QNetworkInterface::allInterfaces()) {
        const auto flags = system.flags();
        NetworkInterfaceEntry entry{system.name(),
                                    flags.testFlag(QNetworkInterface::IsUp) &&
                                        flags.testFlag(QNetworkInterface::IsRunning),
                                    flags.testFlag(QNetworkInterface::IsLoopBack),
                                    {}};
        for (const QNetworkAddressEntry& address : system.addressEntries())
            if (address.ip().protocol() == QAbstractSocket::IPv4Protocol)
                entry.ipv4 << address.ip().toString();
        entries << entry;
    }
    return entries;
}

InterfaceSource& installedSource() {
    static InterfaceSource source;
    return source;
}

QString firstAddress(const QList<NetworkInterfaceEntry>& interfaces, bool loopback) {
    for (const NetworkInterfaceEntry& entry : interfaces)
        if (entry.up && entry.loopback == loopback && !entry.ipv4.isEmpty())
            return entry.ipv4.first();
    return QString();
}

} // namespace

void installInterfaceSource(InterfaceSource source) {
    installedSource() = std::move(source);
}

QString chooseLocalAddress(const QList<NetworkInterfaceEntry>& interfaces,
                           const QString& previous) {
    for (const bool loopback : {false, true})
        if (const QString address = firstAddress(interfaces, loopback); !address.isEmpty())
            return address;
    return previous;
}

QString LocalAddressText(const QString& previous) {
    const InterfaceSource& source = installedSource();
    return chooseLocalAddress(source ? source() : systemInterfaces(), previous);
}
