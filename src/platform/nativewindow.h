#pragma once

class QWindow;

namespace vq {

// Keeps the window above every other window of the program, also above those that are mapped
// after it and those the window manager would otherwise put above it (a full-screen window
// that has the focus, or is mapped while nothing has it, stands above even a topmost one).
// Call after the window has been shown. On X it is
// marked transient for the program's group of windows, which window managers keep above all
// of the group; on Windows a topmost window already is above them, and this does nothing.
void keepAboveTheProgramsWindows(QWindow& window);

} // namespace vq
