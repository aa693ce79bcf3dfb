#include "windows/FontPrefetch.h"

#include <QFontDatabase>
#include <QStringList>

std::future<void> prefetchFontDatabase() {
    // The font database's functions are safe from any thread.
    return std::async(std::launch::async, [] { QFontDatabase::families(); });
}
