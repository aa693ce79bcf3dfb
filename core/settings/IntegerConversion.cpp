#include "settings/IntegerConversion.h"

#include "base/LauncherError.h"

#include <QCoreApplication>

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (base == 16 && u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (base == 16 && u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v;
}

} // namespace

bool tryParseInteger(const QString& text, qint32& value) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;

    bool negative = false;
    int base = 10;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    } else if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;

    // Accumulate in 64 bits; stop as soon as the magnitude leaves the range.
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 magnitude = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return false;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return false;
    }
    value = qint32(negative ? -magnitude : magnitude);
    return true;
}

qint32 parseInteger(const QString& text) {
    qint32 value = 0;
    if (!tryParseInteger(text, value))
        throw LauncherError(
            QCoreApplication::translate("IntegerConversion", "'%1' is not a valid integer value")
                .arg(text));
    return value;
}
