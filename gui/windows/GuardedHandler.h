#pragma once

#include "windows/ErrorReport.h"

// A slot that runs one of the window's event handlers through guarded(), so
// that its errors reach the default error report instead of Qt's dispatch.
template <typename Window> auto guardedHandler(Window* window, void (Window::*handler)()) {
    return [window, handler] { guarded(window, [&] { (window->*handler)(); }); };
}
