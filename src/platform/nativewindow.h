#pragma once

#include <QPoint>

class QWindow;

namespace vq {

// What the display server itself knows of one of the program's top-level windows, for where
// the toolkit's own record can lag behind it. On X a window manager may move a window around
// its mapping and report the move with an event of its own; until that event is handled (and,
// on a loaded machine, in some starts never) Qt keeps the place the window had before, and
// everything worked out from it is off by the move. Elsewhere (Windows, offscreen) the window
// system answers at once, and these are Qt's own answers.

// The screen position of the top-left corner of the window's client area.
QPoint windowOrigin(const QWindow& window);

// The pointer's position relative to the top-left corner of the window's client area.
QPoint pointerInWindow(const QWindow& window);

// Keeps the window above every other window of the program, also above those that are mapped
// after it and those the window manager would otherwise put above it (a full-screen window
// that has the focus, or is mapped while nothing has it, stands above even a topmost one).
// Call after the window has been shown. On X it is marked transient for the program's group
// of windows, which window managers keep above all of the group; on Windows a topmost window
// already is above them, and this does nothing.
void keepAboveTheProgramsWindows(QWindow& window);

} // namespace vq
