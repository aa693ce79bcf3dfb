#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

// The Qt platform the launcher asks for before its application object
// exists. A Wayland session lets no window stay on top of others, so the
// watcher would sink behind the game; there, when an X server is reachable
// (XWayland's DISPLAY) and the user has not chosen a platform
// (QT_QPA_PLATFORM unset or empty), the launcher runs on X11 ("xcb"), whose
// stay-on-top request the desktop honours. Otherwise the result is empty:
// keep Qt's own choice.
QByteArray choosePlatform(const QProcessEnvironment& environment);
