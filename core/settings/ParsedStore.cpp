#include "settings/ParsedStore.h"

#include <QCoreApplication>
#include <QTimer>
#include <optional>

namespace {

struct Kept {
    QByteArray bytes;
    RegistryFile doc;
};

// Stores are made on the thread of the event loop.
std::optional<Kept>& kept() {
    static std::optional<Kept> document;
    return document;
}

} // namespace

RegistryFile parsedStore(const QByteArray& bytes) {
    std::optional<Kept>& cached = kept();
    if (cached && cached->bytes == bytes) {
        RegistryFile doc = std::move(cached->doc);
        cached.reset();
        return doc;
    }
    cached.reset();
    return RegistryFile::parse(bytes);
}

void keepParsedStore(const QByteArray& bytes, RegistryFile&& doc) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    std::optional<Kept>& cached = kept();
    if (!cached) // else a release is already queued
        QTimer::singleShot(0, app, [] { kept().reset(); });
    cached.emplace(Kept{bytes, std::move(doc)});
}
