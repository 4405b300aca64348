#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tarvenol {
namespace {

// Between the main window and the one beside it.
constexpr int kGap = 8;

}  // namespace

void ShowBeside(QWidget* window, const QWidget* main) {
  if (window->isVisible()) {
    window->raise();
    return;
  }
  const QRect mainFrame = main->frameGeometry();
  const QRect screen = main->screen()->availableGeometry();
  // A window not yet shown has no frame: it will get the decorations main has.
  const QMargins frame(
      main->geometry().left() - mainFrame.left(), main->geometry().top() - mainFrame.top(),
      mainFrame.right() - main->geometry().right(), mainFrame.bottom() - main->geometry().bottom());
  const int decoration = frame.left() + frame.right();
  const int roomRight = screen.right() - mainFrame.right() - kGap;
  const int roomLeft = mainFrame.left() - screen.left() - kGap;
  const bool right = roomRight >= window->width() + decoration || roomRight >= roomLeft;
  const int room = (right ? roomRight : roomLeft) - decoration;

  // Never narrower than its layout's least size: where even that has no room, the window
  // overlaps main. resize() keeps a fixed window's size.
  const int narrowest = std::min(window->width(), window->minimumSizeHint().width());
  window->resize(std::clamp(room, narrowest, window->width()),
                 std::min(window->height(), screen.height() - frame.top() - frame.bottom()));
  const QSize size = window->size();

  const int width = size.width() + decoration;
  int left = right ? mainFrame.right() + 1 + kGap : mainFrame.left() - kGap - width;
  left = std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - width));
  const int fullHeight = size.height() + frame.top() + frame.bottom();
  const int top = std::clamp(mainFrame.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - fullHeight));
  window->move(left, top);
  window->show();
}

}  // namespace tarvenol
