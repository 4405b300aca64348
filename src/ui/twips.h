#pragma once
// Window geometry is laid out in twips (1/1440 inch): 15 twips are one pixel at 96 dots per
// inch, and the screen's logical resolution scales that.

#include <QLabel>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace tarvenol {

inline int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

// Left, top, width and height in twips, each rounded on its own as the layout gives them.
inline QRect TwipsRect(int left, int top, int width, int height, double dpi) {
  return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
          TwipsToPixels(height, dpi)};
}

// A label keeps its place but widens where the desktop's font needs more room than the layout
// gives, so that its text is never cut.
inline void WidenToText(QLabel* label) {
  label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
}

}  // namespace tarvenol
