#include "settings/WineRegistry.h"

#include <QFile>
#include <QStringDecoder>
#include <optional>

namespace {

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - '0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - 'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - 'A' + 10;
    return -1;
}

bool isOctalDigit(QChar c) {
    return c >= u'0' && c <= u'7';
}

// Undoes Wine's escapes from position i up to the first unescaped `end`:
// "\\", "\"", C escapes such as "\n", "\xHHHH" (one to four hex digits, a
// UTF-16 code unit) and "\NNN" (one to three octal digits). Returns the
// position after `end`, or -1 when the text is not closed.
qsizetype unescape(QStringView in, qsizetype i, QChar end, QString& out) {
    // Pairs of escape letter and the character it stands for.
    static const QStringView cEscapes = u"a\ab\be\x1b"
                                        u"f\fn\nr\rt\tv\v";
    out.clear();
    while (i < in.size()) {
        const QChar c = in[i++];
        if (c == end)
            return i;
        if (c != u'\\' || i == in.size()) {
            out += c;
            continue;
        }
        const QChar e = in[i++];
        if (e == u'x' && i < in.size() && hexDigit(in[i]) >= 0) {
            char16_t unit = 0;
            for (int n = 0; n < 4 && i < in.size() && hexDigit(in[i]) >= 0; ++n)
                unit = char16_t(unit * 16 + hexDigit(in[i++]));
            out += QChar(unit);
        } else if (isOctalDigit(e)) {
            char16_t unit = char16_t(e.unicode() - '0');
            for (int n = 1; n < 3 && i < in.size() && isOctalDigit(in[i]); ++n)
                unit = char16_t(unit * 8 + (in[i++].unicode() - '0'));
            out += QChar(unit);
        } else {
            const qsizetype letter = cEscapes.indexOf(e);
            out += letter >= 0 && letter % 2 == 0 ? cEscapes[letter + 1] : e;
        }
    }
    return -1;
}

// Text kept as "hex(1):" or "hex(2):" bytes (a string stored without its
// terminating zero is written that way): UTF-16LE up to the first zero.
std::optional<QString> textFromHex(QStringView hex) {
    QByteArray bytes;
    for (QStringView item : hex.split(u',')) {
        item = item.trimmed();
        if (item.isEmpty())
            continue;
        bool ok = false;
        const uint byte = item.toUInt(&ok, 16);
        if (!ok || byte > 0xFF)
            return std::nullopt;
        bytes += char(byte);
    }
    QStringDecoder utf16(QStringDecoder::Utf16LE);
    QString text = utf16(bytes);
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

// The text of a value's data (what follows '='), or nothing when the value
// is not text.
std::optional<QString> textOf(QStringView data) {
    for (const QStringView kind : {u"str(1):", u"str(2):"})
        if (data.startsWith(kind))
            data = data.sliced(kind.size());
    if (data.startsWith(u'"')) {
        QString text;
        if (unescape(data, 1, u'"', text) < 0)
            return std::nullopt;
        return text;
    }
    for (const QStringView kind : {u"hex(1):", u"hex(2):"})
        if (data.startsWith(kind))
            return textFromHex(data.sliced(kind.size()));
    return std::nullopt;
}

qsizetype indexOfKey(const QStringList& keyPaths, const QString& key) {
    for (qsizetype k = 0; k < keyPaths.size(); ++k)
        if (keyPaths[k].compare(key, Qt::CaseInsensitive) == 0)
            return k;
    return -1;
}

// Hands out logical lines: line ends removed, "\" continuations joined.
class WineLines {
public:
    explicit WineLines(QFile& file) : file_(file) {}

    bool next(QString& line) {
        if (!readPhysical(line))
            return false;
        QString more;
        while (line.endsWith(u'\\') && readPhysical(more)) {
            line.chop(1);
            line += QStringView(more).trimmed();
        }
        return true;
    }

private:
    bool readPhysical(QString& line) {
        if (file_.atEnd())
            return false;
        line = QString::fromUtf8(file_.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        return true;
    }

    QFile& file_;
};

} // namespace

QString readWineRegistryText(const QString& filePath, const QStringList& keyPaths,
                             const QString& valueName) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    WineLines lines(file);
    QString line;
    if (!lines.next(line) || !line.startsWith(QStringLiteral("WINE REGISTRY Version 2")))
        return QString();

    QList<std::optional<QString>> found(keyPaths.size());
    qsizetype section = -1; // index in keyPaths of the section being read, -1: none wanted
    QString name;
    while (lines.next(line)) {
        if (line.startsWith(u'[')) {
            section = unescape(line, 1, u']', name) < 0 ? -1 : indexOfKey(keyPaths, name);
            continue;
        }
        if (section < 0 || !(line.startsWith(u'"') || line.startsWith(u'@')))
            continue;
        qsizetype pos = 1;
        if (line.startsWith(u'"'))
            pos = unescape(line, 1, u'"', name);
        else
            name.clear();
        if (pos < 0 || pos >= line.size() || line[pos] != u'=')
            continue;
        if (name.compare(valueName, Qt::CaseInsensitive) == 0)
            found[section] = textOf(QStringView(line).sliced(pos + 1));
    }
    for (const std::optional<QString>& text : found)
        if (text)
            return *text;
    return QString();
}
