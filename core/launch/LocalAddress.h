#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One network interface as the system lists it.
struct NetworkInterfaceEntry {
    QString name;
    bool up = false; // up and running
    bool loopback = false;
    QStringList ipv4; // dotted addresses, in the system's order
};

// Supplies the machine's interfaces in the system's order. The launcher uses
// the system's list unless another source is installed (tests).
using InterfaceSource = std::function<QList<NetworkInterfaceEntry>()>;
void installInterfaceSource(InterfaceSource source); // empty: the system's list again

// The first IPv4 address of an interface that is up and not loopback, in
// the list's order; else the first of a loopback interface that is up; else
// `previous`.
QString chooseLocalAddress(const QList<NetworkInterfaceEntry>& interfaces, const QString& previous);

// The machine's address for the user to give to others: chooseLocalAddress
// over the installed interface source.
QString LocalAddressText(const QString& previous);
