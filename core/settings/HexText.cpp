#include "settings/HexText.h"

#include <QByteArray>
#include <QStringDecoder>

namespace {

// Splits "hex(2):41,00,..." into its prefix and its bytes; false when the
// data is no hex(1): or hex(2): list.
bool splitTextList(QStringView raw, QStringView& prefix, QByteArray& bytes) {
    if (!raw.startsWith(u"hex(", Qt::CaseInsensitive))
        return false;
    const qsizetype close = raw.indexOf(u"):");
    bool ok = false;
    const uint type = close > 4 ? raw.sliced(4, close - 4).toUInt(&ok, 16) : 0;
    if (!ok || (type != 1 && type != 2))
        return false;
    prefix = raw.first(close + 2);
    bytes.clear();
    QString list = raw.sliced(close + 2).toString();
    list.remove(u'\\'); // continuations: a backslash at a line's end, then indentation
    for (QStringView item : QStringView(list).tokenize(u',')) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        const uint byte = item.toUInt(&ok, 16);
        if (!ok || byte > 0xff)
            return false;
        bytes.append(char(byte));
    }
    return true;
}

QString spell(QStringView prefix, const QByteArray& bytes) {
    QString raw = prefix.toString();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            raw.append(u',');
        raw.append(QString::number(quint8(bytes[i]), 16).rightJustified(2, u'0'));
    }
    return raw;
}

} // namespace

std::optional<QString> hexText(QStringView raw) {
    QStringView prefix;
    QByteArray bytes;
    if (!splitTextList(raw, prefix, bytes))
        return std::nullopt;
    if (const qsizetype end = bytes.indexOf('\0'); end >= 0)
        bytes.truncate(end);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString hexTextFromUtf16(QStringView raw) {
    QStringView prefix;
    QByteArray bytes;
    if (!splitTextList(raw, prefix, bytes))
        return raw.toString();
    QStringDecoder utf16(QStringDecoder::Utf16LE);
    return spell(prefix, QString(utf16(bytes.first(bytes.size() & ~qsizetype(1)))).toUtf8());
}
