#pragma once

#include "settings/CaseInsensitive.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>
#include <deque>
#include <map>
#include <memory>
#include <vector>

enum class ValueKind { Text, Dword, Other };

struct RegistryValue {
    ValueKind kind = ValueKind::Text;
    quint32 dword = 0; // Dword
    QString text;      // Text: the decoded text; Other: the data after '=' exactly as read,
                       // continuation lines included
};

// One key of the document. Keys are owned by their RegistryFile and stay
// allocated until it goes, so pointers to them remain valid after a delete.
struct RegistryKey {
    struct Entry {
        QString name; // value name; the whole line for a comment
        RegistryValue value;
        bool comment = false;
    };
    using NameIndex = std::map<QString, size_t, CaseInsensitiveLess>;

    QString name; // spelling of its first occurrence
    RegistryKey* parent = nullptr;
    std::vector<RegistryKey*> subkeys;     // sorted by name as CaseInsensitiveLess orders them
    std::vector<Entry> entries;            // values and comment lines, in file order
    std::unique_ptr<NameIndex> valueIndex; // value name -> entry, made once a key has many
    int sectionIndex = -1;                 // position of its own section in the file read
    bool deleted = false;
    mutable int subtreeLastSection = -1; // scratch for serialize()
};

// An in-memory document of a store file in the REGEDIT4 text format: a
// header line, sections "[ROOT\path\to\key]" and their values. Every root
// (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE...) lives in the same document.
// Reading also takes UTF-16 "Windows Registry Editor Version 5.00" files,
// byte-order marks and CRLF line ends; writing always gives REGEDIT4 in
// UTF-8 with "\n" line ends. What the program never touches is written back
// as it was read, in the same order.
class RegistryFile {
public:
    RegistryFile();
    ~RegistryFile();
    RegistryFile(RegistryFile&&) noexcept;
    RegistryFile& operator=(RegistryFile&&) noexcept;

    // Damaged lines are skipped and noted, never fatal.
    static RegistryFile parse(const QByteArray& bytes);
    QByteArray serialize() const;

    bool skippedDamagedLines() const { return skippedDamagedLines_; }
    // False when the bytes read were not REGEDIT4 text in UTF-8 (another
    // header or encoding, or no header), so rewriting changes more than the
    // program's own keys and values.
    bool wasStoreFormat() const { return storeFormat_; }

    // The invisible key above the roots.
    RegistryKey* top() { return top_.get(); }

    // Paths are relative to `from`, names separated by '\'; empty names are
    // ignored, so an empty path names `from` itself.
    RegistryKey* findKey(RegistryKey* from, QStringView path) const;
    // Creates what is missing; nullptr when a name holds a line break.
    RegistryKey* createKey(RegistryKey* from, QStringView path);
    // Removes the key with everything under it; false when it does not exist
    // or the path names `from` itself.
    bool deleteKey(RegistryKey* from, QStringView path);

    // Direct subkeys, sorted case-insensitively as text ("10" before "9").
    QStringList subkeyNames(const RegistryKey* key) const;
    const RegistryValue* value(const RegistryKey* key, QStringView name) const;
    // Replaces the value of that name in place or appends it; "" is the
    // key's default value.
    void setValue(RegistryKey* key, const QString& name, RegistryValue value);

private:
    class Parser; // RegistryParser.cpp
    class Writer; // RegistryWriter.cpp

    // `at` is where the name goes in the parent's subkeys (its lower bound).
    RegistryKey* addSubkey(RegistryKey* parent, QStringView name, size_t at);
    RegistryKey* walk(RegistryKey* from, QStringView path, bool create);
    RegistryKey* child(RegistryKey* key, QStringView name, bool create, size_t& place);
    static qsizetype indexOfValue(const RegistryKey* key, QStringView name); // -1: none

    std::unique_ptr<RegistryKey> top_;
    std::deque<RegistryKey> keys_;       // every key made, deleted ones too; they never move
    std::vector<RegistryKey*> sections_;             // keys in the order of their sections read
    QStringList leadingComments_;                    // comment lines before the first section
    bool skippedDamagedLines_ = false;
    bool storeFormat_ = true;
    qsizetype sizeHint_ = 0; // bytes of the file last read, to size the output once

    // The parent of the last path found or made: sections and lookups come
    // in runs of siblings, whose paths differ only in the last name, in
    // order. Valid until a key is deleted.
    struct ParentMemo {
        const RegistryKey* from = nullptr;
        QString path;
        RegistryKey* parent = nullptr;
        size_t nextPlace = 0; // in parent's subkeys, after the last name found or made
    };
    mutable ParentMemo parentMemo_;
};
