#include "settings/RegistryFile.h"
#include "settings/RegistryText.h"

#include <algorithm>

namespace {

// The escape written for c, or nothing when c stands for itself.
QStringView escapeOf(char16_t c) {
    switch (c) {
    case u'\\':
        return u"\\\\";
    case u'"':
        return u"\\\"";
    case u'\n':
        return u"\\n";
    case u'\r':
        return u"\\r";
    default:
        return {};
    }
}

// Appends text in quotes, escaped; the runs between escapes go in whole.
void appendQuoted(QString& out, QStringView text) {
    out.append(u'"');
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (const QStringView escape = escapeOf(text[i].unicode()); !escape.isEmpty()) {
            out.append(text.sliced(run, i - run)).append(escape);
            run = i + 1;
        }
    }
    out.append(text.sliced(run)).append(u'"');
}

// Eight hex digits, as the format spells a dword.
void appendDword(QString& out, quint32 value) {
    char16_t digits[8];
    for (int i = 7; i >= 0; --i, value >>= 4)
        digits[i] = u"0123456789abcdef"[value & 0xf];
    out.append(QStringView(digits, 8));
}

} // namespace

// Writes the sections read in their original order. A key that had no
// section of its own goes after the subtree of its nearest ancestor that has
// sections, so the launcher's new keys follow their parent's subtree.
class RegistryFile::Writer {
public:
    explicit Writer(const RegistryFile& doc) : doc_(doc), after_(doc.sections_.size()) {}

    QByteArray run() {
        for (const RegistryKey* root : doc_.top_->subkeys)
            markLastSection(root);
        for (const RegistryKey* root : doc_.top_->subkeys) {
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
        for (const RegistryKey* child : key->subkeys)
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
        for (const RegistryKey* child : key->subkeys) {
            if (child->subtreeLastSection >= 0)
                place(child);
        }
        auto& bucket = after_[key->subtreeLastSection];
        if (key->sectionIndex < 0 && needsSection(key))
            bucket.push_back({key, false});
        for (const RegistryKey* child : key->subkeys) {
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
        for (const RegistryKey* child : key->subkeys)
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
            out_.append(u"dword:");
            appendDword(out_, value.dword);
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

QByteArray RegistryFile::serialize() const {
    return Writer(*this).run();
}
