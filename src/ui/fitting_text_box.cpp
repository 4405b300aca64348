#include "ui/fitting_text_box.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tarvenol {
namespace {

// A line edit keeps this many pixels free on each side of its text, whatever its text margins;
// negative margins give them back.
constexpr int kLineEditMargin = 2;
// Seven digits of the desktop's usual 12-pixel font fit in a 23-pixel box at 40 % of their
// width, where each digit still has a stroke, a gap and a stroke.
constexpr int kNarrowestStretch = 40;
constexpr int kStretchStep = 5;

// The width a line edit needs to show text without scrolling: its advance and one pixel for
// the cursor.
int NeededWidth(const QFontMetrics& metrics, const QString& text) {
  return metrics.horizontalAdvance(text) + 1;
}

}  // namespace

FittingTextBox::FittingTextBox(const QString& text, QWidget* parent)
    : QLineEdit(text, parent), desktop_(font()) {
  setTextMargins(-kLineEditMargin, 0, -kLineEditMargin, 0);
  connect(this, &QLineEdit::textChanged, this, [this] { Fit(); });
  Fit();
}

int FittingTextBox::TextRoom() const {
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
  const QMargins margins = textMargins();
  return contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin;
}

void FittingTextBox::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  Fit();
}

void FittingTextBox::Fit() {
  const int room = TextRoom();
  QFont fitted = desktop_;
  for (int stretch = 100; stretch >= kNarrowestStretch; stretch -= kStretchStep) {
    fitted.setStretch(stretch);
    if (NeededWidth(QFontMetrics(fitted), text()) <= room) break;
  }
  if (fitted != font()) setFont(fitted);
}

}  // namespace tarvenol
