#include "settings/ParsedStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <cstring>
#include <future>

namespace {

// Stores are made on the thread of the event loop.
std::optional<ParsedStore>& kept() {
    static std::optional<ParsedStore> parsed;
    return parsed;
}

std::future<std::optional<ParsedStore>>& prefetched() {
    static std::future<std::optional<ParsedStore>> parsed;
    return parsed;
}

// The file's bytes and their document; nothing when it cannot be read.
std::optional<ParsedStore> readWhole(QFile& file) {
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    RegistryFile doc = RegistryFile::parse(bytes);
    return ParsedStore{std::move(bytes), std::move(doc)};
}

// Whether the file, read from where it is to its end, holds exactly `bytes`.
bool holdsExactly(QFile& file, const QByteArray& bytes) {
    if (file.size() != bytes.size())
        return false;
    char chunk[65536];
    for (qsizetype at = 0; at < bytes.size();) {
        const qint64 read = file.read(chunk, std::min<qsizetype>(sizeof chunk, bytes.size() - at));
        if (read <= 0 || std::memcmp(chunk, bytes.constData() + at, size_t(read)) != 0)
            return false;
        at += read;
    }
    return file.read(chunk, 1) == 0;
}

} // namespace

std::optional<ParsedStore> readParsedStore(QFile& file) {
    std::optional<ParsedStore>& cached = kept();
    if (prefetched().valid()) {
        std::optional<ParsedStore> early = prefetched().get();
        if (early && !cached)
            cached = std::move(early);
    }
    if (cached && !file.isSequential() && holdsExactly(file, cached->bytes)) {
        std::optional<ParsedStore> found = std::move(cached);
        cached.reset();
        return found;
    }
    cached.reset();
    if (file.pos() != 0 && !file.seek(0))
        return std::nullopt;
    return readWhole(file);
}

void prefetchParsedStore(const QString& path) {
    prefetched() = std::async(std::launch::async, [path]() -> std::optional<ParsedStore> {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return readWhole(file);
    });
}

void keepParsedStore(ParsedStore&& parsed) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    std::optional<ParsedStore>& cached = kept();
    if (!cached) // else a release is already queued
        QTimer::singleShot(0, app, [] { kept().reset(); });
    cached.emplace(std::move(parsed));
}
