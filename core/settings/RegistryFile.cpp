#include "settings/RegistryFile.h"

#include "settings/HexText.h"
#include "settings/StoreLines.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

const QString storeHeader = QStringLiteral("REGEDIT4");
const QString version5Header = QStringLiteral("Windows Registry Editor Version 5.00");

// Position of c in text from `from` on, or -1. A plain loop: Qt's indexOf
// costs more than the short lines of a store take to scan.
qsizetype indexOfChar(QStringView text, char16_t c, qsizetype from = 0) {
    const char16_t* begin = text.utf16();
    const char16_t* end = begin + text.size();
    const char16_t* found = std::find(begin + from, end, c);
    return found == end ? -1 : found - begin;
}

bool hasLineBreak(QStringView name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Decodes the file's bytes; `storeFormat` turns false for anything but UTF-8.
QString decodeText(const QByteArray& bytes, bool& storeFormat) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        storeFormat = false;
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                            : QStringDecoder::Utf16BE);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    const QByteArrayView body =
        bytes.startsWith("\xEF\xBB\xBF") ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    // Not UTF-8 (a file written in an 8-bit code page): take the bytes one to
    // one so that nothing is lost, and keep the original aside on rewrite.
    storeFormat = false;
    return QString::fromLatin1(body);
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
// escaped (the common case); a null view otherwise.
QStringView plainQuoted(QStringView in) {
    const qsizetype close = indexOfChar(in, u'"', 1);
    if (close < 0)
        return {};
    const QStringView text = in.sliced(1, close - 1);
    return indexOfChar(text, u'\\') >= 0 ? QStringView() : text;
}

// Reads a quoted text starting at in[0] == '"'. Returns the position after
// the closing quote, or -1 when it is not closed.
qsizetype readQuoted(QStringView in, QString& out) {
    if (const QStringView plain = plainQuoted(in); !plain.isNull()) {
        out = plain.toString();
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

void appendQuoted(QString& out, QStringView text) {
    out.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            out.append(u"\\\\");
            break;
        case u'"':
            out.append(u"\\\"");
            break;
        case u'\n':
            out.append(u"\\n");
            break;
        case u'\r':
            out.append(u"\\r");
            break;
        default:
            out.append(c);
        }
    }
    out.append(u'"');
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

class RegistryFile::Parser {
public:
    Parser(RegistryFile& doc, StoreLines lines) : doc_(doc), lines_(std::move(lines)) {}

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
        if (current_)
            expectedEntries_ = current_->entries.size();
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
        QString name;
        qsizetype pos = 1;
        if (line.startsWith(u'"')) {
            pos = readName(line, name);
            if (pos < 0)
                return false;
        } else {
            name = sharedName(QStringView());
        }
        QStringView rest = trimmed(line.sliced(pos));
        if (!rest.startsWith(u'='))
            return false;
        const QStringView data = trimmed(rest.sliced(1));

        RegistryValue value;
        if (data.startsWith(u'"')) {
            value.kind = ValueKind::Text;
            if (readQuoted(data, value.text) != data.size())
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
        doc_.setValue(current_, name, std::move(value));
        return true;
    }

    // A quoted value name, shared as sharedName says; the position after it
    // as readQuoted gives it.
    qsizetype readName(QStringView line, QString& name) {
        if (const QStringView plain = plainQuoted(line); !plain.isNull()) {
            name = sharedName(plain);
            return plain.size() + 2;
        }
        const qsizetype end = readQuoted(line, name);
        name = sharedName(name);
        return end;
    }

    // Most keys repeat the same few value names; sharing one copy of each
    // keeps a large store's document small, and reading it allocates nothing.
    // Keys of one kind list their names in the same order, so the name after
    // the last one found is tried first.
    QString sharedName(QStringView name) {
        const size_t count = recentNames_.size();
        for (size_t tried = 0; tried < count; ++tried) {
            const size_t i = (nextGuess_ + tried) % count;
            const QString& known = recentNames_[i];
            if (known.size() == name.size() && known == name) {
                nextGuess_ = i + 1;
                return known;
            }
        }
        QString made = name.toString();
        if (count < 32) {
            recentNames_.push_back(made);
            nextGuess_ = count + 1;
        }
        return made;
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

    RegistryFile& doc_;
    StoreLines lines_;
    RegistryKey* current_ = nullptr;
    bool sectionSeen_ = false;
    bool version5_ = false; // a regedit export: its text byte lists are UTF-16LE
    std::vector<QString> recentNames_;
    size_t nextGuess_ = 0;
    size_t expectedEntries_ = 0; // values in the section read last
};

// Writes the sections read in their original order. A key that had no
// section of its own goes after the subtree of its nearest ancestor that has
// sections, so the launcher's new keys follow their parent's subtree.
class RegistryFile::Writer {
public:
    explicit Writer(const RegistryFile& doc) : doc_(doc), after_(doc.sections_.size()) {}

    QByteArray run() {
        for (const auto& [name, root] : doc_.top_->subkeys)
            markLastSection(root);
        for (const auto& [name, root] : doc_.top_->subkeys) {
            if (root->subtreeLastSection >= 0)
                place(root);
            else
                atEnd_.push_back({root, true});
        }

        out_.reserve(doc_.sizeHint_ + doc_.sizeHint_ / 4 + 1024);
        out_.append(storeHeader).append(u'\n');
        for (const QString& comment : doc_.leadingComments_)
            out_.append(comment).append(u'\n');
        out_.append(u'\n');
        for (size_t i = 0; i < doc_.sections_.size(); ++i) {
            if (!doc_.sections_[i]->deleted)
                writeSection(doc_.sections_[i]);
            for (const Placement& p : after_[i])
                write(p);
        }
        for (const Placement& p : atEnd_)
            write(p);
        return out_.toUtf8();
    }

private:
    struct Placement {
        const RegistryKey* key;
        bool withSubtree;
    };

    static int markLastSection(const RegistryKey* key) {
        int last = key->sectionIndex;
        for (const auto& [name, child] : key->subkeys)
            last = std::max(last, markLastSection(child));
        key->subtreeLastSection = last;
        return last;
    }

    // A key needs a section to exist in the file when it has one already,
    // holds values, or has no subkey whose section would imply it.
    static bool needsSection(const RegistryKey* key) {
        return key->sectionIndex >= 0 || !key->entries.empty() ||
               (key->subkeys.empty() && key->parent && key->parent->parent);
    }

    // Deeper placements are made first, so within one position a key's new
    // subkeys come before the new keys of its ancestors.
    void place(const RegistryKey* key) {
        for (const auto& [name, child] : key->subkeys) {
            if (child->subtreeLastSection >= 0)
                place(child);
        }
        auto& bucket = after_[key->subtreeLastSection];
        if (key->sectionIndex < 0 && needsSection(key))
            bucket.push_back({key, false});
        for (const auto& [name, child] : key->subkeys) {
            if (child->subtreeLastSection < 0)
                bucket.push_back({child, true});
        }
    }

    void write(const Placement& p) {
        if (p.withSubtree)
            writeSubtree(p.key);
        else
            writeSection(p.key);
    }

    void writeSubtree(const RegistryKey* key) {
        if (needsSection(key))
            writeSection(key);
        for (const auto& [name, child] : key->subkeys)
            writeSubtree(child);
    }

    void writeSection(const RegistryKey* key) {
        out_.append(u'[');
        appendPath(key);
        out_.append(u"]\n");
        for (const RegistryKey::Entry& entry : key->entries) {
            if (entry.comment) {
                out_.append(entry.name).append(u'\n');
                continue;
            }
            if (entry.name.isEmpty())
                out_.append(u'@');
            else
                appendQuoted(out_, entry.name);
            out_.append(u'=');
            appendData(entry.value);
            out_.append(u'\n');
        }
        out_.append(u'\n');
    }

    void appendPath(const RegistryKey* key) {
        if (key->parent->parent) {
            appendPath(key->parent);
            out_.append(u'\\');
        }
        out_.append(key->name);
    }

    void appendData(const RegistryValue& value) {
        switch (value.kind) {
        case ValueKind::Text:
            appendQuoted(out_, value.text);
            break;
        case ValueKind::Dword:
            out_.append(u"dword:").append(QString::number(value.dword, 16).rightJustified(8, u'0'));
            break;
        case ValueKind::Other:
            out_.append(value.text);
            break;
        }
    }

    const RegistryFile& doc_;
    std::vector<std::vector<Placement>> after_; // placements after each section read
    std::vector<Placement> atEnd_;
    QString out_;
};

RegistryFile::RegistryFile() : top_(std::make_unique<RegistryKey>()) {}
RegistryFile::~RegistryFile() = default;
RegistryFile::RegistryFile(RegistryFile&&) noexcept = default;
RegistryFile& RegistryFile::operator=(RegistryFile&&) noexcept = default;

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

QByteArray RegistryFile::serialize() const {
    return Writer(*this).run();
}

RegistryKey* RegistryFile::findKey(RegistryKey* from, QStringView path) const {
    return const_cast<RegistryFile*>(this)->walk(from, path, false);
}

RegistryKey* RegistryFile::createKey(RegistryKey* from, QStringView path) {
    return hasLineBreak(path) ? nullptr : walk(from, path, true);
}

namespace {

// Where name is or goes among subkeys: `hint` when it is that place, else
// found by a search. Sections and lookups come in the order of their names,
// so the place after the previous name, or the end, is the place as a rule.
RegistryKey::SubkeyMap::iterator placeOf(RegistryKey::SubkeyMap& subkeys, QStringView name,
                                         RegistryKey::SubkeyMap::iterator hint) {
    const auto less = subkeys.key_comp();
    if ((hint == subkeys.begin() || less(std::prev(hint)->first, name)) &&
        (hint == subkeys.end() || !less(hint->first, name)))
        return hint;
    return subkeys.lower_bound(name);
}

} // namespace

// Follows the names of path from `from`, making what is missing when create
// is set (else nullptr for a missing key). The parent of the last name comes
// from the memo when the path before it is the same as last time.
RegistryKey* RegistryFile::walk(RegistryKey* from, QStringView path, bool create) {
    const qsizetype lastSeparator = path.lastIndexOf(u'\\');
    const QStringView parentPath = path.first(std::max<qsizetype>(lastSeparator, 0));
    const QStringView lastName = path.sliced(lastSeparator + 1);
    const bool remembered = !lastName.isEmpty() && parentMemo_.parent && parentMemo_.from == from &&
                            parentMemo_.path == parentPath;
    if (!remembered) {
        RegistryKey* parent = from;
        for (const QStringView name : parentPath.tokenize(u'\\', Qt::SkipEmptyParts)) {
            auto place = parent->subkeys.end();
            parent = child(parent, name, create, place);
            if (!parent)
                return nullptr;
        }
        if (lastName.isEmpty())
            return parent;
        parentMemo_ = {from, parentPath.toString(), parent, parent->subkeys.end()};
    }
    return child(parentMemo_.parent, lastName, create, parentMemo_.nextPlace);
}

// The subkey `name` of key, made when missing and create is set. `place` is
// where to look first; it comes back as the place after that subkey.
RegistryKey* RegistryFile::child(RegistryKey* key, QStringView name, bool create,
                                 RegistryKey::SubkeyMap::iterator& place) {
    const auto it = placeOf(key->subkeys, name, place);
    if (it != key->subkeys.end() && !key->subkeys.key_comp()(name, it->first)) {
        place = std::next(it);
        return it->second;
    }
    if (!create)
        return nullptr;
    place = it; // the new key goes just before it
    return addSubkey(key, name, it);
}

RegistryKey* RegistryFile::addSubkey(RegistryKey* parent, QStringView name,
                                     RegistryKey::SubkeyMap::iterator at) {
    auto key = std::make_unique<RegistryKey>();
    key->name = name.toString();
    key->parent = parent;
    RegistryKey* added = key.get();
    keys_.push_back(std::move(key));
    parent->subkeys.emplace_hint(at, added->name, added);
    return added;
}

bool RegistryFile::deleteKey(RegistryKey* from, QStringView path) {
    RegistryKey* key = findKey(from, path);
    if (!key || key == from)
        return false;
    parentMemo_ = {};
    key->parent->subkeys.erase(key->name);
    std::vector<RegistryKey*> pending{key};
    while (!pending.empty()) {
        RegistryKey* gone = pending.back();
        pending.pop_back();
        gone->deleted = true;
        for (const auto& [name, child] : gone->subkeys)
            pending.push_back(child);
    }
    return true;
}

QStringList RegistryFile::subkeyNames(const RegistryKey* key) const {
    QStringList names;
    names.reserve(qsizetype(key->subkeys.size()));
    for (const auto& [name, child] : key->subkeys)
        names.append(child->name);
    return names;
}

// Small keys are searched in order; a key with many values gets an index,
// so reading a key of thousands of values stays linear.
constexpr size_t linearSearchLimit = 16;

qsizetype RegistryFile::indexOfValue(const RegistryKey* key, QStringView name) {
    if (key->valueIndex) {
        const auto it = key->valueIndex->find(name);
        return it == key->valueIndex->end() ? -1 : qsizetype(it->second);
    }
    for (size_t i = 0; i < key->entries.size(); ++i) {
        const RegistryKey::Entry& entry = key->entries[i];
        if (!entry.comment && equalCaseInsensitive(entry.name, name))
            return qsizetype(i);
    }
    return -1;
}

const RegistryValue* RegistryFile::value(const RegistryKey* key, QStringView name) const {
    const qsizetype i = indexOfValue(key, name);
    return i < 0 ? nullptr : &key->entries[i].value;
}

void RegistryFile::setValue(RegistryKey* key, const QString& name, RegistryValue value) {
    if (const qsizetype i = indexOfValue(key, name); i >= 0) {
        key->entries[i].value = std::move(value);
        return;
    }
    if (key->entries.capacity() == 0)
        key->entries.reserve(4); // what most keys hold, in one allocation
    key->entries.push_back({name, std::move(value), false});
    if (key->valueIndex) {
        key->valueIndex->emplace(name, key->entries.size() - 1);
    } else if (key->entries.size() > linearSearchLimit) {
        key->valueIndex = std::make_unique<RegistryKey::NameIndex>();
        for (size_t i = 0; i < key->entries.size(); ++i) {
            if (!key->entries[i].comment)
                key->valueIndex->emplace(key->entries[i].name, i);
        }
    }
}
