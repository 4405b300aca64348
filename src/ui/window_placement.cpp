#include "ui/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace tarvenol {
namespace {

// Between a window and the one beside it.
constexpr int kGap = 8;
// The top of a window, its title and first row of controls, which a window placed over it
// where there is no room beside leaves in sight.
constexpr int kTopBand = 96;

long long Area(const QRect& r) {
  return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height();
}

// What a place costs, in pixels, first to last: main covered, the others' tops covered, the
// rest of them covered together with the window's own area given up, the way from main.
struct Score {
  long long overMain = 0, overTops = 0, overOthersOrLost = 0, distance = 0;
  bool operator<(const Score& o) const {
    return std::tie(overMain, overTops, overOthersOrLost, distance) <
           std::tie(o.overMain, o.overTops, o.overOthersOrLost, o.distance);
  }
};

// Where a window of length (at least least) that would start at start goes along one side of
// the screen, first..last: moved within it at its length, kept at start and shortened to the
// screen's edge, or moved within it at its least length.
struct Span {
  int start, length;
};
QList<Span> Spans(int start, int length, int least, int first, int last) {
  QList<Span> spans = {{std::clamp(start, first, last + 1 - length), length},
                       {std::clamp(start, first, last + 1 - least), least}};
  if (start >= first && start <= last && last + 1 - start >= least) {
    spans.push_back({start, std::min(length, last + 1 - start)});
  }
  return spans;
}

}  // namespace

QRect PlaceBeside(QSize size, QSize least, const QRect& main, const QList<QRect>& others,
                  const QRect& screen) {
  size = size.boundedTo(screen.size());
  least = least.boundedTo(size);
  // Left edges beside main and beside each other window, on either side; tops level with
  // them and below or above them.
  QList<int> lefts = {main.right() + 1 + kGap, main.left() - kGap - size.width()};
  QList<int> tops = {main.top()};
  for (const QRect& o : others) {
    lefts << o.right() + 1 + kGap << o.left() - kGap - size.width();
    tops << o.top() << o.top() + kTopBand << o.bottom() + 1 + kGap
         << o.top() - kGap - size.height();
  }
  QRect best;
  Score bestScore{std::numeric_limits<long long>::max(), 0, 0, 0};
  const auto consider = [&](const QRect& r) {
    Score s;
    s.overMain = Area(r.intersected(main));
    for (const QRect& o : others) {
      s.overTops += Area(r.intersected(QRect(o.left(), o.top(), o.width(), kTopBand)));
      s.overOthersOrLost += Area(r.intersected(o));
    }
    s.overOthersOrLost += Area(QRect(QPoint(), size)) - Area(r);
    s.distance = std::abs(r.left() - (main.right() + 1 + kGap)) + std::abs(r.top() - main.top());
    if (s < bestScore) {
      bestScore = s;
      best = r;
    }
  };
  for (const int left : lefts) {
    for (const int top : tops) {
      for (const Span& x :
           Spans(left, size.width(), least.width(), screen.left(), screen.right())) {
        for (const Span& y :
             Spans(top, size.height(), least.height(), screen.top(), screen.bottom())) {
          consider(QRect(x.start, y.start, x.length, y.length));
        }
      }
    }
  }
  return best;
}

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
  const QSize decoration(frame.left() + frame.right(), frame.top() + frame.bottom());
  QList<QRect> others;
  for (QWidget* w : main->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (w != window && w->isWindow() && w->isVisible()) others << w->frameGeometry();
  }
  // resize() keeps a fixed window's size, whatever the room.
  const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
  const QRect placed =
      PlaceBeside(window->size() + decoration, least + decoration, mainFrame, others, screen);
  window->resize(placed.size() - decoration);
  window->move(placed.topLeft());
  window->show();
}

}  // namespace tarvenol
