// Store files: parsing any bytes must not crash, and what the parser made of
// them, changed the way the store changes it, must survive a rewrite:
// parse, edit, serialise, parse again gives the same document, and
// serialising that gives the same bytes.
//
// The input's last bytes choose the encoding of the rest and a few edits
// (keys made and deleted, values set); the rest is the file. Encodings:
// 0 as is, 1 UTF-16LE with byte-order mark, 2 UTF-16BE with byte-order mark,
// so the UTF-16 path of version 5 files gets text-level mutations too.
// UTF-16 text that is not valid Unicode (a lone surrogate) has no UTF-8
// form: documents are compared as the UTF-8 the store file holds.

#include "settings/RegistryFile.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

// Every key with its path, values and comments, in document order.
void describe(const RegistryKey* key, const QString& path, QString& out) {
    out += u'[' + path + QStringLiteral("]\n");
    for (const RegistryKey::Entry& entry : key->entries) {
        out += entry.comment ? u';' : u'v';
        out += entry.name + u'\x1f' + QString::number(int(entry.value.kind)) + u'\x1f' +
               QString::number(entry.value.dword) + u'\x1f' + entry.value.text + u'\n';
    }
    for (const RegistryKey* child : key->subkeys) {
        // A root stands for itself: one left empty need not be written.
        if (key->parent || !child->entries.empty() || !child->subkeys.empty())
            describe(child, path + u'\\' + child->name, out);
    }
}

QString describe(RegistryFile& doc) {
    QString out;
    describe(doc.top(), QString(), out);
    return out;
}

void collect(RegistryKey* key, std::vector<RegistryKey*>& keys) {
    keys.push_back(key);
    for (RegistryKey* child : key->subkeys)
        collect(child, keys);
}

QByteArray encoded(const std::string& raw, int encoding) {
    const QByteArray body = QByteArray::fromStdString(raw);
    if (encoding == 0)
        return body;
    const bool little = encoding == 1;
    QStringEncoder encoder(little ? QStringEncoder::Utf16LE : QStringEncoder::Utf16BE);
    return QByteArray(little ? "\xFF\xFE" : "\xFE\xFF") +
           QByteArray(encoder(QString::fromUtf8(body)));
}

const QString launcher = QStringLiteral("HKEY_CURRENT_USER\\Software\\ZAM Launcher2");
const QString keyNames[] = {
    QStringLiteral("mods"),     QStringLiteral("servers"),          QStringLiteral("4711"),
    QStringLiteral("Mods\\10"), QStringLiteral("servers\\9\\deep"), QString()};
const QString valueNames[] = {QStringLiteral("name"), QStringLiteral("Checked"), QString(),
                              QStringLiteral("a \"quoted\" \\ name\n")};
const QString texts[] = {QString(), QStringLiteral("C:\\Games\\\"ZAM\"\r\nnext"),
                         QStringLiteral("modA;modB;"), QString::fromUtf8("R\xc3\xa9my")};

// Picks from the choices taken off the input's end, zero when they run out.
class Choices {
public:
    Choices(FuzzedDataProvider& in, size_t count) {
        for (size_t i = 0; i < count; ++i)
            values_.push_back(in.ConsumeIntegral<uint32_t>());
    }
    size_t next(size_t range) { return pos_ < values_.size() ? values_[pos_++] % range : 0; }

private:
    std::vector<uint32_t> values_;
    size_t pos_ = 0;
};

// Edits the document the way the store does: keys made and deleted below
// the launcher's key or any other, values of both kinds set.
void edit(RegistryFile& doc, Choices& pick, int count) {
    for (int i = 0; i < count; ++i) {
        std::vector<RegistryKey*> keys;
        collect(doc.top(), keys);
        // Keys live below a root: the store never makes a root of its own.
        RegistryKey* base = keys[pick.next(keys.size())];
        if (base == doc.top() || pick.next(2))
            base = doc.createKey(doc.top(), launcher);
        const QString& path = keyNames[pick.next(std::size(keyNames))];
        switch (pick.next(3)) {
        case 0:
            doc.createKey(base, path);
            break;
        case 1:
            doc.deleteKey(base, path);
            break;
        default: {
            RegistryValue value;
            value.kind = pick.next(2) ? ValueKind::Dword : ValueKind::Text;
            if (value.kind == ValueKind::Dword)
                value.dword = uint32_t(pick.next(UINT32_MAX));
            else
                value.text = texts[pick.next(std::size(texts))];
            doc.setValue(base, valueNames[pick.next(std::size(valueNames))], value);
        }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int encoding = in.ConsumeIntegral<uint8_t>() % 3;
    const int edits = in.ConsumeIntegralInRange<int>(0, 6);
    Choices pick(in, size_t(edits) * 7);
    RegistryFile first = RegistryFile::parse(encoded(in.ConsumeRemainingBytesAsString(), encoding));
    edit(first, pick, edits);

    const QByteArray written = first.serialize();
    RegistryFile second = RegistryFile::parse(written);
    if (second.skippedDamagedLines() || !second.wasStoreFormat())
        abort();
    if (describe(first).toUtf8() != describe(second).toUtf8())
        abort();
    if (second.serialize() != written)
        abort();
    return 0;
}
