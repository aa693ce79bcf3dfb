#pragma once

#include <future>

// Fills the toolkit's font database on a thread of its own. Reading the
// platform's font configuration is the largest single step of any window's
// first start; the first control that measures a text waits for it there
// instead of doing it itself, so the launcher's work that needs no font
// (the store's load) runs meanwhile. Called once the application exists;
// the future's end waits for the thread, so it must end before the
// application does.
[[nodiscard]] std::future<void> prefetchFontDatabase();
