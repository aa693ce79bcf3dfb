#pragma once

#include <QString>
#include <QStringList>

// Launch options as players write them for their game stores:
// `DXVK_HUD=1 gamemoderun %command% -extra`. `%command%` stands for the
// game's own command; leading NAME=VALUE words set environment variables,
// the other words before `%command%` run first (a wrapper and its
// arguments) and the words after it are appended to the game's arguments.
// Text without `%command%` is all appended to the game's arguments; empty
// text is `%command%` alone.
struct LaunchOptions {
    QStringList environment; // "NAME=VALUE"
    QStringList wrapper;     // program and arguments that run the game's command
    QStringList appended;    // after the game's own arguments
};

// Splits the text into words the way a POSIX shell does, without running
// one and without expansions: blanks separate words, single quotes keep
// everything, double quotes keep everything but a backslash before a
// dollar, backquote, double quote or backslash, and an unquoted backslash
// keeps the next character.
// Throws LauncherError for an unterminated quote, for shell syntax that only
// a shell could carry out (| & ; < > ( ) $ ` unquoted) and for a second
// `%command%`.
LaunchOptions parseLaunchOptions(const QString& text);
