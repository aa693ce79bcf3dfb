#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <optional>

class RegistryFile;
struct RegistryKey;
struct RegistryValue;

enum class RootKey { CurrentUser, LocalMachine };

// The launcher's thin interface to its hierarchical key/value store, modelled
// on the registry object of the launcher's original platform. A store object
// reads the store file when it is created; its changes collect in memory and
// reach the file only through commit(), which rewrites the file atomically.
// Key paths are absolute from the root key ("\Software\ZAM Launcher2\mods");
// key and value names compare case-insensitively.
class SettingsStore {
public:
    explicit SettingsStore(const QString& filePath);
    SettingsStore();  // the file at StoreLocation::path()
    ~SettingsStore(); // uncommitted changes are dropped

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void setRootKey(RootKey root);

    // Opens the key at an absolute path. Without create, a missing key gives
    // false and the previously open key stays current.
    bool openKey(const QString& path, bool create);
    void closeKey();

    // A missing text value reads as empty; texts written as byte lists
    // (hex(1):, hex(2):) read as their text. A missing integer or boolean
    // throws "Failed to get data for '<name>'"; a value of the other kind
    // throws "Invalid data type for '<name>'". Booleans are integers, true
    // when not zero. Without an open key these read as missing.
    QString readString(const QString& name) const;
    qint32 readInteger(const QString& name) const;
    bool readBool(const QString& name) const;
    // True when the open key holds a value of that name, of any kind.
    bool hasValue(const QString& name) const { return currentValue(name) != nullptr; }

    // Writes to the open key; without one they throw
    // "Failed to set data for '<name>'". A value that already reads the
    // same stays as it is spelled, and is no change.
    void writeString(const QString& name, const QString& value);
    void writeInteger(const QString& name, qint32 value);
    void writeBool(const QString& name, bool value); // stored as 0 or 1

    // Names of the open key's direct subkeys, sorted case-insensitively as text.
    QStringList getKeyNames() const;

    // Deletes a subkey of the open key with everything under it.
    bool deleteKey(const QString& name);

    // Writes the changes made through this object to the file, atomically and
    // readable by its owner only. Throws "Failed to set data for '<name>'"
    // (the first value written) when the file cannot be written; the old file
    // then stays as it was. Does nothing when nothing changed.
    void commit();

    // True when reading the file skipped damaged lines.
    bool skippedDamagedLines() const;

private:
    static std::optional<QString> textOf(const RegistryValue& value);
    const RegistryValue* currentValue(const QString& name) const;
    QString rootName() const;
    RegistryKey* rootKey(); // nullptr while the file has no such root
    void writeValue(const QString& name, const RegistryValue& value);
    void noteKeyChange(const QString& keyName);
    [[noreturn]] void failWrite(const QString& name) const;
    bool keepOriginal() const;

    std::unique_ptr<RegistryFile> file_;
    QString filePath_;
    RootKey root_ = RootKey::CurrentUser;
    RegistryKey* openKey_ = nullptr; // owned by file_; null when no key is open
    RegistryKey* rootKeys_[2] = {};  // current user, local machine: owned by file_
    QString firstWritten_;           // first value written, else first key created or deleted
    bool firstWrittenIsValue_ = false;
    bool changed_ = false;
    bool unreadable_ = false;  // the file exists but could not be read: never overwrite it
    QByteArray originalBytes_; // the file as read, while a copy must be kept before rewriting
    QByteArray readBytes_;     // the file as read, while the document is what they gave
};
