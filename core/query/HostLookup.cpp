#include "query/HostLookup.h"

#include <QHostAddress>
#include <QHostInfo>

namespace {

int digitOf(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return 99;
}

// One part of a dotted address: decimal, octal after "0", hex after "0x".
std::optional<quint64> parsePart(QStringView part) {
    int base = 10;
    if (part.size() > 1 && part[0] == u'0') {
        base = 8;
        part = part.sliced(1);
        if (part[0] == u'x' || part[0] == u'X') {
            base = 16;
            part = part.sliced(1);
        }
    }
    if (part.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : part) {
        const int digit = digitOf(c);
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<quint32> parseDottedAddress(QStringView text) {
    quint64 parts[4];
    int count = 0;
    // Split at every dot by hand: a tokenizer costs more than the parse.
    for (qsizetype start = 0;;) {
        if (count == 4)
            return std::nullopt;
        qsizetype end = start;
        while (end < text.size() && text[end] != u'.')
            ++end;
        const std::optional<quint64> value = parsePart(text.sliced(start, end - start));
        if (!value)
            return std::nullopt;
        parts[count++] = *value;
        if (end == text.size())
            break;
        start = end + 1;
    }

    // Leading parts are one byte each; the last one fills the rest.
    quint64 address = 0;
    for (int i = 0; i < count - 1; ++i) {
        if (parts[i] > 0xFF)
            return std::nullopt;
        address |= parts[i] << (24 - 8 * i);
    }
    const int lastBits = 32 - 8 * (count - 1);
    if (parts[count - 1] >= (quint64(1) << lastBits))
        return std::nullopt;
    address |= parts[count - 1];
    if (address == 0xFFFFFFFFu)
        return std::nullopt;
    return quint32(address);
}

// Formats by hand: this runs for every received datagram, and one
// allocation (the text itself) is all it may cost.
QString dottedText(quint32 address) {
    char text[16];
    int length = 0;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned octet = (address >> shift) & 0xFF;
        if (octet >= 100)
            text[length++] = char('0' + octet / 100);
        if (octet >= 10)
            text[length++] = char('0' + octet / 10 % 10);
        text[length++] = char('0' + octet % 10);
        text[length++] = '.';
    }
    return QString::fromLatin1(text, length - 1);
}

std::optional<quint32> firstIPv4Address(const QHostInfo& info) {
    if (info.error() != QHostInfo::NoError)
        return std::nullopt;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toIPv4Address();
    }
    return std::nullopt;
}

quint32 LookupHostAddress(const QString& name) {
    if (name.isEmpty())
        return 0;
    if (const std::optional<quint32> dotted = parseDottedAddress(name))
        return *dotted;
    return firstIPv4Address(QHostInfo::fromName(name)).value_or(0);
}
