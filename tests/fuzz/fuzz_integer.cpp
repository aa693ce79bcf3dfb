// Integer conversion against a plain reference of the same rule: blanks,
// then a signed decimal or hexadecimal after "$", "x", "X", "0x" or "0X",
// nothing after it, and a value in the signed 32-bit range.

#include "settings/IntegerConversion.h"
#include "base/LauncherError.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

std::optional<qint32> reference(const QString& text) {
    QString rest = text;
    while (rest.startsWith(u' '))
        rest.remove(0, 1);
    int base = 10;
    bool negative = false;
    for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
        if (rest.startsWith(QLatin1String(prefix))) {
            base = 16;
            rest.remove(0, qsizetype(strlen(prefix)));
            break;
        }
    }
    if (base == 10 && (rest.startsWith(u'+') || rest.startsWith(u'-'))) {
        negative = rest.startsWith(u'-');
        rest.remove(0, 1);
    }
    if (rest.isEmpty())
        return std::nullopt;
    const QString digits =
        base == 16 ? QStringLiteral("0123456789abcdefABCDEF") : QStringLiteral("0123456789");
    long long magnitude = 0;
    for (const QChar c : rest) {
        if (!digits.contains(c))
            return std::nullopt;
        magnitude = magnitude * base + QString(c).toInt(nullptr, 16);
        if (magnitude > (1LL << 31))
            return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return qint32(value);
}

void check(const QString& text) {
    const std::optional<qint32> expected = reference(text);
    qint32 value = 0;
    const bool ok = tryParseInteger(text, value);
    if (ok != expected.has_value() || (ok && value != *expected))
        abort();
    try {
        if (parseInteger(text) != value || !ok)
            abort();
    } catch (const LauncherError& e) {
        if (ok || e.message() != u'\'' + text + QStringLiteral("' is not a valid integer value"))
            abort();
    }
    // Decimal text of a number reads back as that number.
    if (ok && parseInteger(QString::number(value)) != value)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    check(QString::fromLatin1(bytes));
    check(QString::fromUtf8(bytes));
    return 0;
}
