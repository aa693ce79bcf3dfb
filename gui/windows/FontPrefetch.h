#pragma once

// Fills the toolkit's font database on a thread of its own. Reading the
// platform's font configuration is the largest single step of any window's
// first start; the first control that measures a text waits for it there
// instead of doing it itself, so the launcher's work that needs no font
// (the store's load) runs meanwhile. Called once, once the application exists.
void prefetchFontDatabase();
