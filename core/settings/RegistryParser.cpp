#include "settings/HexText.h"
#include "settings/RegistryFile.h"
#include "settings/RegistryText.h"
#include "settings/StoreLines.h"

#include <algorithm>

namespace {

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Qt's trimmed() for a line or part of one; most have nothing to trim and
// are handed back without a call into Qt.
QStringView trimmed(QStringView text) {
    const auto plain = [](char16_t c) { return c > u' ' && c < 0x80; };
    if (!text.isEmpty() && plain(text.front().unicode()) && plain(text.back().unicode()))
        return text;
    return text.trimmed();
}

// Whether text starts with the ASCII word `prefix`, in any case.
bool startsWithWord(QStringView text, QLatin1StringView prefix) {
    if (text.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t lower = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
        if (lower != char16_t(prefix[i].unicode()))
            return false;
    }
    return true;
}

// The text between in[0] == '"' and the next quote when nothing in it is
// escaped (the common case); a null view otherwise. One pass: the first
// quote or backslash tells which.
QStringView plainQuoted(QStringView in) {
    const char16_t* begin = in.utf16();
    const char16_t* end = begin + in.size();
    const char16_t* found =
        std::find_if(begin + 1, end, [](char16_t c) { return c == u'"' || c == u'\\'; });
    if (found == end || *found == u'\\')
        return {};
    return in.sliced(1, found - begin - 1);
}

// Whether a text holds exactly these UTF-16 units; inline, as most names and
// values of a store are a few characters long.
bool sameText(const QString& known, QStringView text) {
    return known.size() == text.size() &&
           std::equal(text.begin(), text.end(), known.constBegin());
}

// Reads a quoted text starting at in[0] == '"'; a plain text that `shared`
// already holds is shared with it, not copied. Returns the position after
// the closing quote, or -1 when it is not closed.
qsizetype readQuoted(QStringView in, QString& out, const QString& shared = QString()) {
    if (const QStringView plain = plainQuoted(in); !plain.isNull()) {
        out = !shared.isNull() && sameText(shared, plain) ? shared : plain.toString();
        return plain.size() + 2;
    }
    out.clear();
    out.reserve(in.size());
    for (qsizetype i = 1; i < in.size(); ++i) {
        const QChar c = in[i];
        if (c == u'"')
            return i + 1;
        if (c != u'\\') {
            out.append(c);
            continue;
        }
        if (++i == in.size())
            return -1;
        switch (in[i].unicode()) {
        case u'\\':
        case u'"':
            out.append(in[i]);
            break;
        case u'n':
            out.append(u'\n');
            break;
        case u'r':
            out.append(u'\r');
            break;
        default: // not an escape this format knows: keep it as it stands
            out.append(u'\\');
            out.append(in[i]);
        }
    }
    return -1;
}

// Byte lists of hex: values: hex digits, commas and blanks, optionally ending
// in the '\' that continues them on the next line.
bool isHexList(QStringView text, bool& continues) {
    continues = text.endsWith(u'\\');
    if (continues)
        text.chop(1);
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return isHexDigit(c) || c == u',' || c == u' ' || c == u'\t';
    });
}

// Length of a "hex:" or "hex(<type>):" prefix at the start of data, 0 when
// there is none.
qsizetype hexPrefixLength(QStringView data) {
    if (!startsWithWord(data, QLatin1StringView("hex")))
        return 0;
    qsizetype i = 3;
    if (i < data.size() && data[i] == u'(') {
        const qsizetype close = data.indexOf(u')', i);
        if (close <= i + 1)
            return 0;
        for (qsizetype d = i + 1; d < close; ++d) {
            if (!isHexDigit(data[d]))
                return 0;
        }
        i = close + 1;
    }
    return i < data.size() && data[i] == u':' ? i + 1 : 0;
}

// One to eight hex digits, read here: Qt's number conversion costs more than
// the whole rest of a value's line.
bool parseDword(QStringView digits, quint32& value) {
    if (digits.isEmpty() || digits.size() > 8)
        return false;
    quint32 read = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        if (!isHexDigit(c))
            return false;
        read = read * 16 + (u <= u'9' ? u - u'0' : (u | 0x20) - u'a' + 10);
    }
    value = read;
    return true;
}

} // namespace

// Reads the lines of a store file into the document: sections become keys,
// value lines their values; a line it cannot read is skipped and noted.
class RegistryFile::Parser {
public:
    Parser(RegistryFile& doc, StoreLines lines) : doc_(doc), lines_(std::move(lines)) {
        recentNames_.reserve(keptNames);
    }

    void run() {
        QStringView line;
        if (!lines_.next(line))
            return;
        const QStringView header = trimmed(line);
        if (header == version5Header) {
            doc_.storeFormat_ = false;
            version5_ = true;
        } else if (header != storeHeader) {
            doc_.storeFormat_ = false;
            lines_.unread();
        }
        while (lines_.next(line))
            readLine(trimmed(line));
    }

private:
    void readLine(QStringView line) {
        if (line.isEmpty())
            return;
        if (line.startsWith(u';'))
            return keepComment(line);
        if (line.startsWith(u'['))
            return readSection(line);
        if ((line.startsWith(u'"') || line.startsWith(u'@')) && current_ && readValue(line))
            return;
        doc_.skippedDamagedLines_ = true;
    }

    void keepComment(QStringView line) {
        if (!sectionSeen_)
            doc_.leadingComments_.append(line.toString());
        else if (current_)
            current_->entries.push_back({line.toString(), {}, true});
        // else: inside a damaged section, which the kept original still has
    }

    void readSection(QStringView line) {
        sectionSeen_ = true;
        if (current_) {
            expectedEntries_ = current_->entries.size();
            previous_ = current_;
        }
        current_ = nullptr;
        // "[-KEY]" deletes a key when imported; the store holds no such thing.
        const bool wellFormed = line.endsWith(u']') && !line.startsWith(u"[-");
        RegistryKey* key =
            wellFormed ? doc_.createKey(doc_.top(), line.sliced(1, line.size() - 2)) : nullptr;
        if (!key || key == doc_.top()) {
            doc_.skippedDamagedLines_ = true;
            return;
        }
        current_ = key;
        // Sibling sections hold as many values as a rule: room for them in one allocation.
        if (current_->entries.capacity() == 0)
            current_->entries.reserve(expectedEntries_);
        if (current_->sectionIndex < 0) {
            current_->sectionIndex = int(doc_.sections_.size());
            doc_.sections_.push_back(current_);
        }
    }

    bool readValue(QStringView line) {
        const QString* name = nullptr;
        qsizetype pos = 1;
        if (line.startsWith(u'"')) {
            pos = readName(line, name);
            if (pos < 0)
                return false;
        } else {
            name = &sharedName(QStringView());
        }
        QStringView rest = trimmed(line.sliced(pos));
        if (!rest.startsWith(u'='))
            return false;
        const QStringView data = trimmed(rest.sliced(1));

        RegistryValue value;
        if (data.startsWith(u'"')) {
            value.kind = ValueKind::Text;
            if (readQuoted(data, value.text, previousText(*name)) != data.size())
                return false;
        } else if (startsWithWord(data, QLatin1StringView("dword:"))) {
            value.kind = ValueKind::Dword;
            if (!parseDword(data.sliced(6), value.dword))
                return false;
        } else if (const qsizetype prefix = hexPrefixLength(data); prefix > 0) {
            value.kind = ValueKind::Other;
            if (!readHexList(data, prefix, value.text))
                return false;
            if (version5_) // rewritten as the store's own format, whose bytes are UTF-8
                value.text = hexTextFromUtf16(value.text);
        } else {
            return false;
        }
        doc_.setValue(current_, *name, std::move(value));
        return true;
    }

    // A quoted value name, shared as sharedName says; the position after it
    // as readQuoted gives it.
    qsizetype readName(QStringView line, const QString*& name) {
        if (const QStringView plain = plainQuoted(line); !plain.isNull()) {
            name = &sharedName(plain);
            return plain.size() + 2;
        }
        QString unescaped;
        const qsizetype end = readQuoted(line, unescaped);
        name = &sharedName(unescaped);
        return end;
    }

    // Most keys repeat the same few value names; sharing one copy of each
    // keeps a large store's document small, and reading it allocates nothing.
    // Keys of one kind list their names in the same order, so the name after
    // the last one found is tried first. Valid until the next call.
    const QString& sharedName(QStringView name) {
        const size_t count = recentNames_.size();
        for (size_t tried = 0, i = nextGuess_; tried < count; ++tried, ++i) {
            if (i >= count)
                i = 0;
            if (sameText(recentNames_[i], name)) {
                nextGuess_ = i + 1;
                return recentNames_[i];
            }
        }
        if (count == keptNames) {
            unkeptName_ = name.toString();
            return unkeptName_;
        }
        recentNames_.push_back(name.toString());
        nextGuess_ = count + 1;
        return recentNames_.back();
    }

    // Keys of one kind often repeat a text (the same address, the same mods)
    // at the same place: the text value of that name there in the section
    // read before, for readQuoted to share; null when there is none.
    const QString& previousText(const QString& name) const {
        static const QString none;
        const size_t at = current_->entries.size();
        if (!previous_ || at >= previous_->entries.size())
            return none;
        const RegistryKey::Entry& entry = previous_->entries[at];
        const bool sameName = entry.name.constData() == name.constData(); // names are shared
        return sameName && !entry.comment && entry.value.kind == ValueKind::Text
                   ? entry.value.text
                   : none;
    }

    // Collects a hex: value with its continuation lines, verbatim. A list
    // that breaks off leaves the line that broke it to be read on its own.
    bool readHexList(QStringView data, qsizetype prefix, QString& raw) {
        bool continues = false;
        if (!isHexList(data.sliced(prefix), continues))
            return false;
        raw = data.toString();
        QStringView line;
        while (continues) {
            if (!lines_.next(line))
                return false;
            const QStringView list = trimmed(line);
            if (list.isEmpty() || !isHexList(list, continues)) {
                lines_.unread();
                return false;
            }
            // keep the indentation, drop what trails
            raw.append(u'\n').append(line.first(list.data() - line.data() + list.size()));
        }
        return true;
    }

    static constexpr size_t keptNames = 32;

    RegistryFile& doc_;
    StoreLines lines_;
    RegistryKey* current_ = nullptr;
    const RegistryKey* previous_ = nullptr; // the key of the last section read
    bool sectionSeen_ = false;
    bool version5_ = false; // a regedit export: its text byte lists are UTF-16LE
    std::vector<QString> recentNames_;      // at most keptNames, never reallocated
    QString unkeptName_;                    // a name read when recentNames_ is full
    size_t nextGuess_ = 0;
    size_t expectedEntries_ = 0; // values in the section read last
};

RegistryFile RegistryFile::parse(const QByteArray& bytes) {
    RegistryFile doc;
    doc.sizeHint_ = bytes.size();
    // The store's own files are ASCII as a rule: read from the bytes as they are.
    const QByteArrayView body = QByteArrayView(bytes).startsWith("\xEF\xBB\xBF")
                                    ? QByteArrayView(bytes).sliced(3)
                                    : QByteArrayView(bytes);
    if (isAscii(body)) {
        if (body.trimmed().isEmpty())
            return doc;
        Parser(doc, StoreLines(body)).run();
        return doc;
    }
    const QString text = decodeText(bytes, doc.storeFormat_);
    if (QStringView(text).trimmed().isEmpty())
        doc.storeFormat_ = true; // nothing there that a rewrite could change
    else
        Parser(doc, StoreLines(text)).run();
    return doc;
}
