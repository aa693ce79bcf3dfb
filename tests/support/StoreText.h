#pragma once

#include "settings/SettingsStore.h"
#include "settings/StoreKeys.h"
#include "settings/TableEdits.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A value line of a store file: the name, and the data as the file spells
// it (quoted(), dword() or any other spelling); empty data leaves it out.
struct StoreValue {
    QByteArray name;
    QByteArray data;
};

inline QByteArray quoted(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + bytes + '"';
}

inline QByteArray dword(quint32 value) {
    return "dword:" + QByteArray::number(value, 16).rightJustified(8, '0');
}

// A value's line as a key lists it, without the line break.
inline QByteArray valueLine(const StoreValue& value) {
    return quoted(QString::fromUtf8(value.name)) + '=' + value.data;
}

// Store files for the tests, spelled as the launcher writes them: the
// header, then each key added with its values in order.
//
//     store.write(StoreText().launcher(exe).mod(1, "Alpha", "alpha", false).playerName("Bob"));
class StoreText {
public:
    // Keys alone, without the header, to append to another store text.
    static StoreText keysOnly() {
        StoreText keys;
        keys.text_.clear();
        return keys;
    }

    // Any key: a path that starts with its root, or one of StoreKeys (below
    // HKEY_CURRENT_USER).
    StoreText& key(QString path, const QList<StoreValue>& values = {}) {
        if (path.endsWith(u'\\'))
            path.chop(1);
        text_ +=
            '[' + (path.startsWith(u'\\') ? "HKEY_CURRENT_USER" + path : path).toUtf8() + "]\n";
        for (const StoreValue& value : values)
            if (!value.data.isEmpty())
                text_ += valueLine(value) + '\n';
        text_ += '\n';
        return *this;
    }

    // The launcher's key: the executable, then these values in place of the
    // two options a load cannot do without.
    StoreText& launcher(const QString& executable,
                        const QList<StoreValue>& values = {{"nosplash", dword(1)},
                                                           {"window", dword(0)}}) {
        return key(StoreKeys::Launcher,
                   QList<StoreValue>{{"executable", quoted(executable)}} + values);
    }
    StoreText& mod(qint32 id, const QString& name, const QString& dir, bool checked) {
        return key(StoreKeys::modEntry(QString::number(id)),
                   {{"name", quoted(name)}, {"dir", quoted(dir)}, {"checked", dword(checked)}});
    }
    StoreText& server(qint32 id, const ServerEntry& server) {
        return key(StoreKeys::serverEntry(QString::number(id)),
                   {{"name", quoted(server.name)},
                    {"ip", quoted(server.host)},
                    {"port", quoted(server.port)},
                    {"pass", quoted(server.pass)},
                    {"mods", quoted(server.mods)},
                    {"sockets", dword(server.sockets)}});
    }
    // A friend's key: the name, then any other values.
    StoreText& friendEntry(qint32 id, const QString& name, const QList<StoreValue>& more = {}) {
        return key(StoreKeys::Friends + u'\\' + QString::number(id),
                   QList<StoreValue>{{"name", quoted(name)}} + more);
    }
    // The game's own keys: its folder and the player's name.
    StoreText& gameDir(const QString& dir) {
        return key("HKEY_LOCAL_MACHINE" + StoreKeys::Game, {{"MAIN", quoted(dir)}});
    }
    StoreText& playerName(const QString& name) {
        return key(StoreKeys::Game, {{"Player Name", quoted(name)}});
    }

    operator QByteArray() const { return text_; }

private:
    QByteArray text_ = "REGEDIT4\n\n";
};

// The subkeys a key below HKEY_CURRENT_USER lists in the store file;
// {"<missing>"} when there is no such key.
inline QStringList storedKeys(const QString& path) {
    SettingsStore store;
    store.setRootKey(RootKey::CurrentUser);
    return store.openKey(path, false) ? store.getKeyNames() : QStringList{"<missing>"};
}
