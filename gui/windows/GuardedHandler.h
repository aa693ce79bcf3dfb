#pragma once

#include "windows/ErrorReport.h"

// A slot that runs one of the window's event handlers through guarded(), so
// that its errors reach the default error report instead of Qt's dispatch.
template <typename Window, typename... Args>
auto guardedHandler(Window* window, void (Window::*handler)(Args...)) {
    return
        [window, handler](Args... args) { guarded(window, [&] { (window->*handler)(args...); }); };
}

// The same for a handler of one of the window's parts, reported over the window.
template <typename Part, typename... Args>
auto guardedHandler(QWidget* window, Part* part, void (Part::*handler)(Args...)) {
    return [window, part, handler](Args... args) {
        guarded(window, [&] { (part->*handler)(args...); });
    };
}
