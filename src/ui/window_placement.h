#pragma once
// Where the program's other windows open: beside the main window and beside each other, on the
// main window's screen. Without a window manager a new window would open at the screen's
// top-left corner, over the main window's menu bar; with one, every result window may open at
// one place, the last over the others, and a large one partly off the screen.

#include <QList>
#include <QRect>
#include <QSize>
#include <Qt>

class QWidget;

namespace tarvenol {

// The frame for a window whose frame is size, and at least least where it may be shrunk, on
// screen: beside main's frame, clear of main and of the frames of others as far as the screen
// allows. Of the places beside main and beside the others, at its size or shrunk, it takes the
// one that covers the least of main, then of the others' tops (title and first controls), then
// of the rest of them and of its own size given up together, then the nearest to main's top
// right.
QRect PlaceBeside(QSize size, QSize least, const QRect& main, const QList<QRect>& others,
                  const QRect& screen);

// A window of results that main owns: a dialog to the desktop, the one kind of window X11 keeps
// above its owner (its transient), with the title bar's buttons of a window.
inline constexpr Qt::WindowFlags kResultWindow =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
    Qt::WindowCloseButtonHint;

// Shows window so placed, beside main and the other windows main owns that are shown, within
// main's screen. A window that can be resized may be narrowed and shortened down to the least
// size of its layout; a fixed one keeps its size. A window already shown is only raised.
void ShowBeside(QWidget* window, const QWidget* main);

}  // namespace tarvenol
