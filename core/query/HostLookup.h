#pragma once

#include <QString>
#include <optional>

class QHostInfo;

// IPv4 addresses are kept as quint32 in host byte order, the way
// QHostAddress::toIPv4Address gives them: 10.0.0.5 is 0x0A000005.

// Parses dotted IPv4 text with the classic address-parser rules: one to four
// parts separated by "."; each part decimal, octal (leading 0) or
// hexadecimal ("0x"); the last part fills all remaining bytes, so "10.5" is
// 10.0.0.5 and "167772165" is 10.0.0.5 as well. Gives nothing for any other
// text, and for 255.255.255.255, whose value is the parser's failure value.
std::optional<quint32> parseDottedAddress(QStringView text);

// "%d.%d.%d.%d", first octet first, no leading zeros: "192.168.1.10".
QString dottedText(quint32 address);

// The first IPv4 address of a finished lookup, or nothing when it failed or
// found IPv6 addresses only.
std::optional<quint32> firstIPv4Address(const QHostInfo& info);

// Blocking lookup of a host name on the calling thread. Dotted text is taken
// as it is without asking the resolver; an empty name and a name that cannot
// be resolved give 0 (0.0.0.0). Raises no error.
quint32 LookupHostAddress(const QString& name);
