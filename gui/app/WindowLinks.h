#pragma once

class TForm1;
class TForm4;
class TFormWatcher;

// Ties what the windows ask of each other: the browser's join starts the game
// through the main window, its watcher button hands the server to the
// watcher, the watcher's join joins the browser's selected server, and
// closing the watcher brings the main window and the browser back.
void linkWindows(TForm1& main, TForm4& browser, TFormWatcher& watcher);
