#include "settings/RegistryFile.h"

#include <algorithm>

RegistryFile::RegistryFile() : top_(std::make_unique<RegistryKey>()) {}
RegistryFile::~RegistryFile() = default;
RegistryFile::RegistryFile(RegistryFile&&) noexcept = default;
RegistryFile& RegistryFile::operator=(RegistryFile&&) noexcept = default;

namespace {

bool hasLineBreak(QStringView name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
}

bool nameBefore(QStringView a, QStringView b) {
    return CaseInsensitiveLess()(a, b);
}

// Where name is or goes among subkeys (its lower bound): `hint` when it is
// that place, else found by a search. Sections and lookups come in the order
// of their names, so the place after the previous name, or the end, is the
// place as a rule.
size_t placeOf(const std::vector<RegistryKey*>& subkeys, QStringView name, size_t hint) {
    if (hint <= subkeys.size() && (hint == 0 || nameBefore(subkeys[hint - 1]->name, name)) &&
        (hint == subkeys.size() || !nameBefore(subkeys[hint]->name, name)))
        return hint;
    const auto at = std::lower_bound(
        subkeys.begin(), subkeys.end(), name,
        [](const RegistryKey* key, QStringView wanted) { return nameBefore(key->name, wanted); });
    return size_t(at - subkeys.begin());
}

} // namespace

RegistryKey* RegistryFile::findKey(RegistryKey* from, QStringView path) const {
    return const_cast<RegistryFile*>(this)->walk(from, path, false);
}

RegistryKey* RegistryFile::createKey(RegistryKey* from, QStringView path) {
    return hasLineBreak(path) ? nullptr : walk(from, path, true);
}

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
            size_t place = parent->subkeys.size();
            parent = child(parent, name, create, place);
            if (!parent)
                return nullptr;
        }
        if (lastName.isEmpty())
            return parent;
        parentMemo_ = {from, parentPath.toString(), parent, parent->subkeys.size()};
    }
    return child(parentMemo_.parent, lastName, create, parentMemo_.nextPlace);
}

// The subkey `name` of key, made when missing and create is set. `place` is
// where to look first; it comes back as the place after that subkey.
RegistryKey* RegistryFile::child(RegistryKey* key, QStringView name, bool create, size_t& place) {
    const size_t at = placeOf(key->subkeys, name, place);
    if (at < key->subkeys.size() && !nameBefore(name, key->subkeys[at]->name)) {
        place = at + 1;
        return key->subkeys[at];
    }
    if (!create)
        return nullptr;
    place = at + 1; // the new key goes at `at`
    return addSubkey(key, name, at);
}

RegistryKey* RegistryFile::addSubkey(RegistryKey* parent, QStringView name, size_t at) {
    RegistryKey& key = keys_.emplace_back();
    key.name = name.toString();
    key.parent = parent;
    parent->subkeys.insert(parent->subkeys.begin() + qsizetype(at), &key);
    return &key;
}

bool RegistryFile::deleteKey(RegistryKey* from, QStringView path) {
    RegistryKey* key = findKey(from, path);
    if (!key || key == from)
        return false;
    parentMemo_ = {};
    std::vector<RegistryKey*>& siblings = key->parent->subkeys;
    siblings.erase(std::find(siblings.begin(), siblings.end(), key));
    std::vector<RegistryKey*> pending{key};
    while (!pending.empty()) {
        RegistryKey* gone = pending.back();
        pending.pop_back();
        gone->deleted = true;
        pending.insert(pending.end(), gone->subkeys.begin(), gone->subkeys.end());
    }
    return true;
}

QStringList RegistryFile::subkeyNames(const RegistryKey* key) const {
    QStringList names;
    names.reserve(qsizetype(key->subkeys.size()));
    for (const RegistryKey* child : key->subkeys)
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
