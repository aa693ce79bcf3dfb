#include "windows/FontPrefetch.h"

#include <QFontDatabase>
#include <QStringList>
#include <future>

void prefetchFontDatabase() {
    // The font database's functions are safe from any thread; the future
    // lives until the program ends, whose exit waits for the thread.
    static const std::future<void> filled =
        std::async(std::launch::async, [] { QFontDatabase::families(); });
}
