#pragma once
// Where the program's other windows open: beside the main window, on its screen. Without a
// window manager a new window would open at the screen's top-left corner, over the main
// window's menu bar; with one, a large window may open partly off the screen.

class QWidget;

namespace tarvenol {

// Shows window to the right of main, or to its left where the screen has no room on the right,
// at main's top and within main's screen. A window that can be resized is narrowed to the room
// beside main and kept within the screen's height, down to the least size of its layout; a
// fixed one keeps its size. Where even that has no room, the window overlaps main. A window
// already shown is only raised.
void ShowBeside(QWidget* window, const QWidget* main);

}  // namespace tarvenol
