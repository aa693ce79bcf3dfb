#include "settings/SettingsStore.h"

#include "base/LauncherError.h"
#include "settings/HexText.h"
#include "settings/ParsedStore.h"
#include "settings/RegistryFile.h"
#include "settings/StoreLocation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

LauncherError valueError(const char* format, const QString& name) {
    return LauncherError(QCoreApplication::translate("SettingsStore", format).arg(name));
}

QString lastName(const QString& path) {
    return path.section(u'\\', -1, -1, QString::SectionSkipEmpty);
}

// A save names its finished temporary file "<store>.XXXXXX" for the moment
// before it replaces the store; a process killed in that moment leaves it
// behind. Such files older than a minute belong to no save still running.
bool isLeftSaveFile(const QString& name, const QString& storeName) {
    if (name.size() != storeName.size() + 7 || !name.startsWith(storeName) ||
        name.at(storeName.size()) != u'.')
        return false;
    return std::all_of(name.end() - 6, name.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    });
}

void removeLeftSaveFiles(const QString& storePath) {
    const QFileInfo store(storePath);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
    QDirIterator files(store.path(), QDir::Files | QDir::Hidden);
    while (files.hasNext()) {
        const QFileInfo file = files.nextFileInfo();
        if (isLeftSaveFile(file.fileName(), store.fileName()) &&
            file.lastModified().toUTC() < before)
            QFile::remove(file.filePath());
    }
}

} // namespace

SettingsStore::SettingsStore(const QString& filePath)
    : file_(std::make_unique<RegistryFile>()), filePath_(filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        // Missing reads as empty; present but unreadable must survive us.
        unreadable_ = QFileInfo::exists(filePath);
        return;
    }
    std::optional<ParsedStore> parsed = readParsedStore(file);
    if (!parsed) {
        unreadable_ = true;
        return;
    }
    *file_ = std::move(parsed->doc);
    readBytes_ = std::move(parsed->bytes);
    if (file_->skippedDamagedLines() || !file_->wasStoreFormat())
        originalBytes_ = readBytes_;
}

SettingsStore::SettingsStore() : SettingsStore(StoreLocation::path()) {}

SettingsStore::~SettingsStore() {
    if (!changed_ && !readBytes_.isEmpty())
        keepParsedStore({std::move(readBytes_), std::move(*file_)});
}

void SettingsStore::setRootKey(RootKey root) {
    closeKey();
    root_ = root;
}

QString SettingsStore::rootName() const {
    return root_ == RootKey::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                         : QStringLiteral("HKEY_LOCAL_MACHINE");
}

// Found once: a root key is never deleted through a store.
RegistryKey* SettingsStore::rootKey() {
    RegistryKey*& found = rootKeys_[root_ == RootKey::CurrentUser ? 0 : 1];
    if (!found)
        found = file_->findKey(file_->top(), rootName());
    return found;
}

// Looked up from the root's key, so that an open needs no path of its own.
bool SettingsStore::openKey(const QString& path, bool create) {
    RegistryKey* root = rootKey();
    RegistryKey* key = root ? file_->findKey(root, path) : nullptr;
    if (!key && create) {
        const QString fullPath = rootName() + u'\\' + path;
        key = file_->createKey(file_->top(), fullPath);
        if (key)
            noteKeyChange(lastName(fullPath));
    }
    if (!key)
        return false;
    openKey_ = key;
    return true;
}

void SettingsStore::closeKey() {
    openKey_ = nullptr;
}

// Quoted text, or a byte list regedit writes for a text.
std::optional<QString> SettingsStore::textOf(const RegistryValue& value) {
    if (value.kind == ValueKind::Text)
        return value.text;
    if (value.kind == ValueKind::Other)
        return hexText(value.text);
    return std::nullopt;
}

const RegistryValue* SettingsStore::currentValue(const QString& name) const {
    return openKey_ ? file_->value(openKey_, name) : nullptr;
}

QString SettingsStore::readString(const QString& name) const {
    const RegistryValue* value = currentValue(name);
    if (!value)
        return QString();
    std::optional<QString> text = textOf(*value);
    if (!text)
        throw valueError(QT_TRANSLATE_NOOP("SettingsStore", "Invalid data type for '%1'"), name);
    return std::move(*text);
}

qint32 SettingsStore::readInteger(const QString& name) const {
    const RegistryValue* value = currentValue(name);
    if (!value)
        throw valueError(QT_TRANSLATE_NOOP("SettingsStore", "Failed to get data for '%1'"), name);
    if (value->kind != ValueKind::Dword)
        throw valueError(QT_TRANSLATE_NOOP("SettingsStore", "Invalid data type for '%1'"), name);
    return qint32(value->dword);
}

bool SettingsStore::readBool(const QString& name) const {
    return readInteger(name) != 0;
}

void SettingsStore::writeString(const QString& name, const QString& value) {
    if (const RegistryValue* current = currentValue(name); current && textOf(*current) == value)
        return;
    RegistryValue text;
    text.kind = ValueKind::Text;
    text.text = value;
    writeValue(name, text);
}

void SettingsStore::writeInteger(const QString& name, qint32 value) {
    if (const RegistryValue* current = currentValue(name);
        current && current->kind == ValueKind::Dword && current->dword == quint32(value))
        return;
    RegistryValue dword;
    dword.kind = ValueKind::Dword;
    dword.dword = quint32(value);
    writeValue(name, dword);
}

void SettingsStore::writeBool(const QString& name, bool value) {
    writeInteger(name, value ? 1 : 0);
}

void SettingsStore::writeValue(const QString& name, const RegistryValue& value) {
    if (!openKey_)
        failWrite(name);
    file_->setValue(openKey_, name, value);
    if (!firstWrittenIsValue_) {
        firstWritten_ = name;
        firstWrittenIsValue_ = true;
    }
    changed_ = true;
}

void SettingsStore::noteKeyChange(const QString& keyName) {
    if (firstWritten_.isEmpty() && !firstWrittenIsValue_)
        firstWritten_ = keyName;
    changed_ = true;
}

QStringList SettingsStore::getKeyNames() const {
    return openKey_ ? file_->subkeyNames(openKey_) : QStringList();
}

bool SettingsStore::deleteKey(const QString& name) {
    if (!openKey_ || !file_->deleteKey(openKey_, name))
        return false;
    noteKeyChange(lastName(name));
    return true;
}

void SettingsStore::failWrite(const QString& name) const {
    throw valueError(QT_TRANSLATE_NOOP("SettingsStore", "Failed to set data for '%1'"), name);
}

// Keeps the file as it was read beside it, under a name no file has yet.
bool SettingsStore::keepOriginal() const {
    const QString base = filePath_ + QStringLiteral(".orig");
    for (int n = 0; n < 1000; ++n) {
        QFile copy(n == 0 ? base : base + u'.' + QString::number(n));
        if (copy.exists())
            continue;
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        copy.setPermissions(ownerOnly);
        const bool written = copy.write(originalBytes_) == originalBytes_.size() && copy.flush();
        copy.close();
        if (!written)
            copy.remove();
        return written;
    }
    return false;
}

void SettingsStore::commit() {
    if (!changed_)
        return;
    if (unreadable_)
        failWrite(firstWritten_);

    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder))
            failWrite(firstWritten_);
        QFile::setPermissions(folder, ownerOnly | QFileDevice::ExeOwner);
    }
    if (!originalBytes_.isNull()) {
        if (!keepOriginal())
            failWrite(firstWritten_);
        originalBytes_ = QByteArray();
    }

    removeLeftSaveFiles(filePath_);
    // Unbuffered: a write that fails (a full disk) must fail here; a buffered
    // one would fail only while committing, which then renames a cut file.
    QSaveFile out(filePath_);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !out.setPermissions(ownerOnly))
        failWrite(firstWritten_);
    const QByteArray bytes = file_->serialize();
    if (out.write(bytes) != bytes.size() || !out.commit())
        failWrite(firstWritten_);
    changed_ = false;
    readBytes_ = QByteArray(); // the document is no longer what the file read gave
}

bool SettingsStore::skippedDamagedLines() const {
    return file_->skippedDamagedLines();
}
